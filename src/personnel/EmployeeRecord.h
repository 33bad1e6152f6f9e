#pragma once
// The employee window 员工信息 without its controls: pages, navigation, add/save/delete of the
// employee and of the records on the list pages, the photo and the buttons' enabled states.
#include <string>
#include <vector>

#include "personnel/EmployeePages.h"
#include "app/PendingRow.h"

namespace rsgz::app {
class TDM;
}
namespace rsgz::db {
class DataSet;
}

namespace rsgz::personnel {

// What the report windows 打印预览 and 报表设置 work on when a list page opens them: the page's
// dataset and its layout file (created with the title "表格标题" and no columns when missing).
struct TableReportRequest {
    db::DataSet* source = nullptr;
    std::string definitionFile;
    std::string defaultTitle = "表格标题";
};
const TableReportRequest& tableReportRequest();

class EmployeeRecord {
public:
    explicit EmployeeRecord(app::TDM& dm);

    // On every activation of the window: the photo.
    void activate();

    int page() const { return page_; }
    void setPage(int page);          // caption, button states, the page's records re-opened
    std::string caption;             // "员工信息-" + page caption
    bool addEnabled = true, saveEnabled = true, deleteEnabled = true;
    bool listButtonsShown() const { return page_ != kEvaluationPage; }  // 新增 / 删除 of a list page
    db::DataSet* pageDataSet() const;  // the list page's dataset; nullptr on pages 0 and 1

    // Toolbar.
    void first();
    void prior();
    void next();
    void last();
    void clickName(int row);
    void add();
    void save();
    void remove();
    void photo();
    void printCard();
    void query();
    // 个税扣除: the employee's declared deductions (a pending edit of the employee is saved first).
    void taxDeductions();
    // Closing: an untouched new employee is dropped, a changed one asked about. False: stay open.
    bool close();

    // The list page's buttons.
    void pageAdd();
    void pageDelete();
    void pagePrint();
    void pageDesign();
    void openPageEditor();  // double-click on the grid

    void checkNumber(const std::string& typed);
    // The fixed lists of page 0: every grade of 工资等级, every set name of 帐套.
    std::vector<std::string> gradeNames();
    std::vector<std::string> setNames();

    std::string photoFile;     // the picture shown; empty: none
    bool focusNumber = false;  // set by add(): the window puts the focus into 员工编号

private:
    void refresh();               // the page's records and the photo
    void reopenPage();
    void settlePage(db::DataSet& ds);
    void settleEmployee();        // a pending employee edit is saved before the employee changes
    template <class Move> void move(Move m);
    bool prepareReport();  // the report request for the list page; false on pages 0 and 1

    app::TDM& dm_;
    int page_ = 0;
    app::PendingRow pending_;
};

}  // namespace rsgz::personnel
