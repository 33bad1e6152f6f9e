#pragma once
#include <string>
#include <utility>
#include <vector>

namespace rsgz::app {
class TDM;
}

namespace rsgz::payroll {

class SalaryView;

// What the salary card lets the operator do with the current row of gzb. Editability is decided
// for the row that is current when asked, so the window asks again each time the row changes.
class SalaryCard {
public:
    SalaryCard(app::TDM& dm, SalaryView& view) : dm_(dm), view_(view) {}

    // The boxes of the card, in grid order, with their captions.
    std::vector<std::string> fields() const;
    std::string captionOf(const std::string& field) const;
    bool rowClosed() const;
    // Entered amounts, 出勤天数 and 备注 of an open row; never computed columns or the rest.
    bool editable(const std::string& field) const;

    // The current row's cumulative figures (caption, amount) for a set that withholds cumulatively;
    // empty for a set taxed by the month table.
    std::vector<std::pair<std::string, std::string>> cumulativeLines() const;
    // Names the earlier months still open, whose figures the tax takes as computed; empty when none.
    std::string openMonthsNote() const;

    bool canSave() const;
    bool canDelete() const;  // the right 工资表管理 and an open row
    // 保存: posts the pending change and reads the view again so its formulas, tax and net follow.
    void save();
    // 重新计算: discards unsaved typing and reads the view again.
    void recalculate();
    // 删除: the current row, after the question; a closed row is refused with a notice.
    void remove();

private:
    app::TDM& dm_;
    SalaryView& view_;
};

// The rule of gzb that refuses a change to the amounts, 出勤天数 or 备注 of a closed row, whatever
// window makes it.
void bindClosedRowRule(app::TDM& dm);

}  // namespace rsgz::payroll
