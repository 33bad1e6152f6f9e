#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "payroll/MonthTable.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::payroll {

// The window 生成新工资表 without its widgets. The set is chosen from the sets that exist, never
// typed; year and month come from the spin fields.
class NewMonthForm {
public:
    enum class Mode { CopyPrevious, FromSet };  // 复制上月工资数据, 复制帐套中的初始数据

    explicit NewMonthForm(app::TDM& dm);

    std::vector<std::string> sets;  // every 帐套名称, in table order
    int setIndex = -1;              // preferredSet or the first set is preselected; -1 with none
    std::string preferredSet;       // the set the salary page shows
    // The month 生成工资表 showed last (generated, or already there); the page shows it after.
    std::optional<Period> shownMonth;
    int year = 2006;                // 2006 … 2050
    int month = 1;
    Mode mode = Mode::CopyPrevious;
    std::string progressText;  // the status bar's second panel
    // Told of every change of progressText; the window repaints its status bar there.
    std::function<void(const std::string&)> onProgress;

    void activate();  // the set list; year and month of today
    void generate();  // 生成工资表
    void synchronise();  // 同步员工数据
    void removeMonth();  // 删除工资表
    // Closing, by any way: the salary view is read again with the statement it holds.
    void close();

    Period period() const;

private:
    bool havePeriod();
    MonthTable table();
    void showMonth(const Period& p);
    void setProgress(int percent);

    app::TDM& dm_;
    int shownPercent_ = -1;
};

}  // namespace rsgz::payroll
