#pragma once
#include <string>

namespace rsgz::app {
class TDM;
}

namespace rsgz::payroll {

// The panel 工资帐套管理 without its widgets: the payroll sets (gz_zt) and the items of the set the
// operator last clicked (zt_mx). The panel calls these and shows the two datasets.
class PayrollSetsPage {
public:
    explicit PayrollSetsPage(app::TDM& dm) : dm_(dm) {}

    // Choosing the module: both lists read afresh.
    void open();
    void open_gzzt_data();
    void open_gzzt_mx_data();
    // 增加项目 and 删除项目 need the right 帐套管理.
    bool mayManage() const;

    // The item list follows the set grid on a click (and after 新建帐套 / 删除帐套), not on every
    // key that moves through it.
    void setGridClicked();
    void itemGridClicked();  // the items' status text
    void newSet();           // the new row opens the set window
    // Asks, then removes the set and its items in one transaction.
    void deleteSet();
    void addItem();  // the new row opens the item window
    void deleteItem();

private:
    void resynchronise();
    app::TDM& dm_;
};

// The set window 帐套数据编辑 over the current row of gz_zt.
class SetForm {
public:
    explicit SetForm(app::TDM& dm) : dm_(dm) {}
    bool mayConfirm() const;  // 确定 needs 帐套管理
    std::string field(const std::string& name) const;
    void setField(const std::string& name, const std::string& text);
    // 确定: writes the row and re-reads the list. False when a rule refused (the window stays).
    bool confirm();
    void cancel();  // 取消 and every other way of closing

private:
    app::TDM& dm_;
};

}  // namespace rsgz::payroll
