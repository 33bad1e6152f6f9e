#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/ModuleLists.h"

namespace rsgz::app {

class TDM;

// What the main window shows of the navigation state. Every method has a do-nothing default so a
// test can listen to the calls it cares about.
class NavigationView {
public:
    virtual ~NavigationView() = default;
    // The work area changed: the visible panel covers everything; without one, the desktop picture
    // shows when it is visible, otherwise the area is empty.
    virtual void workAreaChanged() {}
    virtual void printEntriesChanged(const std::vector<std::string>& /*shown*/) {}
    virtual void fieldListsChanged(int /*module*/) {}
    // Shows a picture file in the desktop area; false (and nothing changes) when it cannot be read.
    virtual bool showPicture(const std::string& /*path*/) { return false; }
    // The file types the picture dialog offers: those the view can show.
    virtual std::string pictureFilter() const { return "图片文件 (*.jpg *.jpeg *.png *.bmp)"; }
    // The grid's saved column layout, after the module's list is opened for the first time.
    virtual void loadGridLayout(int /*module*/) {}
    // The grid drops its column layout and shows every column of its list in their order.
    virtual void resetGridColumns(int /*module*/) {}
};

// Where the query trees, sort settings, payroll pages and printing plug into the navigation. Each
// is optional; an empty hook is a step that does nothing yet.
struct NavigationHooks {
    std::function<void(int module)> openSortSettings;   // entering a page: its row of the sort table
    std::function<void(int module)> loadQueryTree;      // the module's query tree from its file
    std::function<void(int module)> applySortSettings;  // stored sort and search column into the boxes
    std::function<void(int module)> openPayrollList;    // modules 9 to 13: their own opening (10: after its list)
    // The one-field search; without it the search moves to the first row whose value starts with the text.
    std::function<void(int module, const std::string& field, const std::string& text)> searchOneField;
    // The magnifier pressed with no search text: rows whose column is empty.
    std::function<void(int module, const std::string& field)> searchEmptyValue;
    std::function<void(int module)> refreshQueryTree;   // tree menu 刷新查询列表
    std::function<void(int module)> saveQueryTree;      // tree menu 保存查询列表
    std::function<void()> reopenCourseRecords;          // module 2: training records of the current course
    std::function<void()> readCardParameters;           // activation: record-card print parameters
    std::function<void()> enterStatistics;              // module 6 entered: its item list afresh, nothing counted
    std::function<void()> showReminders;                // the desktop shown with its reminders counted afresh
};

// The behaviour of the navigation bar, the module panels' common controls and the menu bar.
// CurrentModule lives in the data module; the rest of the state (which panel shows, whether the
// desktop picture shows, which print entries show) lives here and is told to the view.
class Navigation {
public:
    enum class Move { First, Prior, Next, Last };

    explicit Navigation(TDM& dm);
    void setView(NavigationView* view) { view_ = view ? view : &none_; }
    NavigationHooks hooks;

    int visiblePanel() const { return panel_; }  // 0: none
    bool desktopVisible() const { return desktop_; }
    const std::vector<std::string>& printEntries() const { return print_; }
    const FieldLists& fieldLists(int module) const { return lists_.fieldLists(module); }
    ModuleLists& lists() { return lists_; }

    // --- navigation bar and menu: by the entry's text ------------------------------------------
    void button(const std::string& text);
    void menuEntry(const std::string& text);
    void groupChanged();
    void chooseModule(int module);
    // The desktop with the reminders of due dates (the personnel group's 到期提醒).
    void showReminders();

    // --- frame operations ----------------------------------------------------------------------
    void SetNotVisible_Panel();
    void SetPrintVisible();
    void OpenImageStart();
    void chooseDesktopPicture();

    // --- module panels -------------------------------------------------------------------------
    void browse(int module, Move move);
    void searchOneField(int module, const std::string& field, const std::string& text);
    void searchEmptyValue(int module, const std::string& field);
    void refreshList(int module);       // the refresh button above the trees of modules 1 and 8
    void openRecordWindow(int module);  // double-click on the grid
    void openQueryWindow(int module);   // 多条件查询
    void gridClicked(int module);
    void treeMenu(int module, const std::string& entry);

private:
    void chooseRecordModule(int module);
    void chooseStatistics();
    void choosePayrollModule(int module);
    void systemWindow(const std::string& caption, bool hidePanels);
    void openSupportSite();
    void openList(int module);
    void writeStatus(int module);
    void clearStatus();
    void setPanel(int module);
    void setDesktop(bool visible);
    void setModule(int module);
    void call(const std::function<void(int)>& hook, int module) const;

    TDM& dm_;
    ModuleLists lists_;
    NavigationView none_;
    NavigationView* view_ = &none_;
    int panel_ = 0;
    bool desktop_ = true;
    std::vector<std::string> print_;
};

}  // namespace rsgz::app
