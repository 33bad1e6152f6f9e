#pragma once
#include <QDialog>
#include <QImage>
#include <functional>
#include <vector>

#include "print/CardPrinting.h"

class QLineEdit;
class QScrollArea;
class QSpinBox;

namespace rsgz::print {
class CardPaper;
}

namespace rsgz::print {

// The record card window 员工档案表格打印: the current employee's card on the paper, the employee
// list's navigation, the print offset, the definition, placement of the items by dragging, and
// printing (one card, a blank form, every card of the list, or a PDF file).
class Trszlbbw : public QDialog {
    Q_OBJECT
public:
    explicit Trszlbbw(app::TDM& dm, QWidget* parent = nullptr);
    ~Trszlbbw() override;

    CardPrinting& printing() { return printing_; }
    bool placing() const { return placing_; }
    QWidget* paper() const;
    // The definition window, then placement mode.
    void define();
    // Saves the definition, leaves placement mode and repaints.
    void refresh();
    // The cards of the rows given (empty: the current one) into a PDF file; an error text, or empty.
    QString writePdf(const QString& path, bool all);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void layoutPaper();
    void buildToolbar(QWidget* bar);
    void move(CardPrinting::Move m);
    void showCard();
    void loadPhoto();
    void enterPlacement();
    void leavePlacement(bool removeLabels);
    void offsetChanged();
    void printCurrent(bool blank);
    void printAll();
    void exportPdf();
    std::pair<CardPage, QImage> cardFor(int row, CardScale scale, CardMode mode);
    bool print(int count, const std::function<std::pair<CardPage, QImage>(int, CardScale)>& prepare);

    CardPrinting printing_;
    QLineEdit* position_ = nullptr;
    QSpinBox* offsetX_ = nullptr;
    QSpinBox* offsetY_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    print::CardPaper* paper_ = nullptr;
    QWidget* host_ = nullptr;
    QImage photo_;
    bool placing_ = false;
};

}  // namespace rsgz::print
