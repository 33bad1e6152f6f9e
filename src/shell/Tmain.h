#pragma once
#include <QMainWindow>
#include <map>
#include <memory>
#include <string>

#include "app/MainFrame.h"
#include "app/Navigation.h"
#include "query/QueryPages.h"

class QAction;
class QLabel;
class QStackedWidget;
class QTimer;

namespace rsgz::personnel {
class ReminderDesk;
}

namespace rsgz::shell {
class DesktopArea;
class RemindersView;
class SalaryPage;
class ModulePanel;
class NavigationBar;
}  // namespace rsgz::shell

namespace rsgz::shell {

// The main window: the navigation bar, the work area with the desktop picture or one module panel,
// the menus and the status bar. What it does is the frame's navigation; the window only shows it.
class Tmain : public QMainWindow, private app::NavigationView, private query::QueryPagesView {
    Q_OBJECT
public:
    // Runs the creation steps, the login included (unless login is false, for tests).
    explicit Tmain(app::MainFrame& frame, bool login = true, QWidget* parent = nullptr);
    ~Tmain() override;
    app::MainFrame& frame() { return frame_; }
    QLabel* statusPanel(int i) const { return status_[i]; }
    shell::NavigationBar* navigationBar() const { return navBar_; }
    QWidget* panel(int module) const;
    QWidget* workAreaWidget() const;
    QAction* menuAction(const std::string& text) const;
    query::QueryPages& queryPages() { return *queries_; }
    shell::RemindersView* remindersView() const { return reminders_; }
    // The salary table page on its panel (null without that panel); the salary card and the bank
    // windows work on what it shows.
    shell::SalaryPage* salaryPage() const { return salaryPage_; }
    void khdl();  // the login window, modal

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildWorkArea();
    void buildPanels();
    void buildMenus();
    void buildStatusBar();
    void onActivate();
    void watchFileCheck();
    void sizeStatusBar();
    int statusPanelWidth(int i) const;

    // What the navigation tells the window.
    void workAreaChanged() override;
    void printEntriesChanged(const std::vector<std::string>& shown) override;
    void fieldListsChanged(int module) override;
    bool showPicture(const std::string& path) override;
    std::string pictureFilter() const override;
    void resetGridColumns(int module) override;
    void loadGridLayout(int module) override;

    // What the query side of the pages tells the window.
    void treeChanged(int module) override;
    void hintChanged(const std::string& text) override;
    void sortShown(int module, const std::string& field, const std::string& order) override;
    void treeWidthShown(int module, int width) override;
    void searchFieldShown(int module, const std::string& name) override;
    shell::ModulePanel* modulePanel(int module) const;

    app::MainFrame& frame_;
    app::Navigation& nav_;
    std::unique_ptr<query::QueryPages> queries_;
    std::unique_ptr<personnel::ReminderDesk> desk_;
    shell::NavigationBar* navBar_ = nullptr;
    QStackedWidget* work_ = nullptr;
    shell::DesktopArea* desktop_ = nullptr;
    shell::RemindersView* reminders_ = nullptr;
    shell::SalaryPage* salaryPage_ = nullptr;  // belongs to its panel, which goes with the window
    QWidget* empty_ = nullptr;
    std::map<int, QWidget*> panels_;
    std::map<int, shell::ModulePanel*> modulePanels_;
    std::map<std::string, QAction*> actions_;
    QLabel* status_[6] = {};
    bool firstShown_ = false;
    bool countNextActivation_ = true;
    bool closingWithoutCopy_ = false;
    QTimer* fileCheckTimer_ = nullptr;
};

// The main window a window opened from it belongs to (through its parents), else the one running.
Tmain* mainWindowOf(QWidget* from);

}  // namespace rsgz::shell
