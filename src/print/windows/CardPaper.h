#pragma once
#include <QImage>
#include <QWidget>
#include <functional>

#include "print/CardDefinition.h"
#include "print/CardPage.h"

namespace rsgz::print {

// The paper of the card window: the card drawn at screen scale and, in placement mode, one movable
// label per item (employee items in blue, company items in green, other content in its own font),
// the photograph and the résumé box. Dragging one stores its new position in the definition: its
// place on the paper less the print offset, so it follows the mouse whatever the offset.
class CardPaper : public QWidget {
    Q_OBJECT
public:
    explicit CardPaper(QWidget* parent = nullptr);

    void setCard(const print::CardPage& page, const QImage& photo);
    void startPlacement(print::CardDefinition& def, const QImage& photo);
    void removeLabels();
    // The labels again at their stored positions plus the (changed) print offset.
    void placeLabels();
    int labelCount() const { return static_cast<int>(labels_.size()); }
    // Repaint the card after a label was dropped.
    std::function<void()> dropped;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    struct Label {
        QWidget* widget;
        int slot;  // 0: the résumé box
    };
    void addLabel(QWidget* w, int slot);
    QPoint offsetPixels() const;
    print::CardDefinition::Point stored(int slot) const;

    print::CardPage page_;
    QImage photo_;
    print::CardDefinition* def_ = nullptr;
    std::vector<Label> labels_;
};

}  // namespace rsgz::print
