#pragma once
#include <QList>
#include <QWidget>

class QPushButton;
class QScrollArea;
class QToolButton;

namespace rsgz::shell {

// The collapsible button bar on the left of the main window: group headers stacked top to bottom,
// the open group's large buttons between its header and the next one. One group is open at a time.
class NavigationBar : public QWidget {
    Q_OBJECT
public:
    // The groups and buttons of the program's navigation, the first group open.
    explicit NavigationBar(QWidget* parent = nullptr);

    int openGroup() const { return open_; }
    int groupCount() const { return static_cast<int>(groups_.size()); }
    QString groupTitle(int index) const;
    QToolButton* button(const QString& text) const;
    // Opens a group as if its header had been clicked (groupChanged only when it changes).
    void setOpenGroup(int index);

signals:
    void groupChanged(int index);
    void buttonClicked(const QString& text);

private:
    struct Group {
        QPushButton* header = nullptr;
        QScrollArea* page = nullptr;
    };
    void addGroup(int index, const QString& title, const QStringList& buttons);
    void showOpenGroup();

    QList<Group> groups_;
    QList<QToolButton*> buttons_;
    int open_ = 0;
};

}  // namespace rsgz::shell
