#pragma once
#include <memory>
#include <string>
#include <vector>

#include "payroll/BankFile.h"
#include "payroll/BankLayout.h"
#include "payroll/BankRecord.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::payroll {

class SalaryView;

// The window 银行报盘文件格式设置 without its widgets: the layout of the set the salary view shows,
// the content lists, the enabling rule and the preview of the view's current row.
class BankLayoutForm {
public:
    // The view may be missing or closed: the layout can still be edited, the preview stays empty.
    BankLayoutForm(app::TDM& dm, const SalaryView* view);

    std::string set;
    BankLayout layout;
    std::vector<std::string> contents;  // the list each part's content is chosen from

    // Reads (or first creates, or puts right) the set's layout and fills the content lists. False,
    // with a notice, when the salary page shows no set.
    bool open();
    // 确定: every part and the record settings into the set's eight rows. The window stays open.
    void save();

    // Enabling rule.
    static bool fixedTextEnabled(const BankPart& p) { return p.content == kFixedContent; }
    static bool widthEnabled(const BankPart& p) { return p.fixedWidth; }
    bool otherSeparatorEnabled() const { return layout.separator == "其他"; }

    // The record of the view's current row and what would not read as the bank expects.
    struct Preview {
        std::string record;
        std::vector<std::string> problems;  // of this record, and parts no column resolves
        std::string unencodable;            // a character this record cannot be written with
    };
    Preview preview();
    // The whole view by the layout: how many records, their total, rounded amounts, problems.
    BankBatch check();
    bool repaired() const { return repaired_; }

private:
    bool haveRows() const;

    app::TDM& dm_;
    const SalaryView* view_;
    BankCards cards_;
    bool repaired_ = false;
};

}  // namespace rsgz::payroll
