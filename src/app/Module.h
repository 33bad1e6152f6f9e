#pragma once
#include <optional>

namespace rsgz::app {

// The modules of the main window. The numbers are the ones stored in the database and the files
// beside the program (sort settings, grid layouts, query trees): never renumber them.
enum class Module : int {
    None = 0,            // the system group, 月末处理 and the desktop
    Personnel = 1,       // 人事资料
    Training = 2,        // 培训管理
    Titles = 3,          // 职称评定
    Rewards = 4,         // 奖惩情况
    Transfers = 5,       // 调动情况
    Statistics = 6,      // 人员信息统计
    Evaluations = 7,     // 考评记录
    Articles = 8,        // 物品发放
    PayrollSets = 9,     // 工资帐套管理
    SetAssignment = 10,  // 人员工资帐套设置
    SalaryTables = 11,   // 工资表管理
    TimeWork = 12,       // 计时工资
    PieceWork = 13,      // 计件工资
};

constexpr int moduleNumber(Module m) { return static_cast<int>(m); }

// The module of a stored number; nothing for a number no module has.
constexpr std::optional<Module> moduleFromNumber(int number)
{
    if (number < 0 || number > moduleNumber(Module::PieceWork)) return std::nullopt;
    return static_cast<Module>(number);
}

// A module number read from a table or passed along as a number compares with the module it is.
constexpr bool operator==(int number, Module m) { return number == moduleNumber(m); }

}  // namespace rsgz::app
