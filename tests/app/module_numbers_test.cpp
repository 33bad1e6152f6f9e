#include <gtest/gtest.h>

#include "app/Module.h"
#include "app/ModuleInfo.h"

namespace rsgz::app {
namespace {

// The numbers are stored (sort settings, grid layouts, query trees): each module keeps its number
// and comes back from it, and the number names the module's own panel.
TEST(ModuleNumbers, RoundTripWithStoredNumbersAndTitles)
{
    struct Case {
        Module module;
        int stored;
        const char* title;  // nullptr: no panel of its own
    };
    const Case cases[] = {
        {Module::None, 0, nullptr},           {Module::Personnel, 1, "人事资料"},
        {Module::Training, 2, "培训管理"},     {Module::Titles, 3, "职称评定"},
        {Module::Rewards, 4, "奖惩情况"},      {Module::Transfers, 5, "调动情况"},
        {Module::Statistics, 6, "人员信息统计"}, {Module::Evaluations, 7, "考评记录"},
        {Module::Articles, 8, "物品发放"},     {Module::PayrollSets, 9, "工资帐套管理"},
        {Module::SetAssignment, 10, "人员工资帐套设置"}, {Module::SalaryTables, 11, "工资表管理"},
        {Module::TimeWork, 12, "计时工资"},    {Module::PieceWork, 13, "计件工资"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(moduleNumber(c.module), c.stored);
        EXPECT_EQ(moduleFromNumber(c.stored), c.module);
        EXPECT_TRUE(c.stored == c.module);
        const ModuleInfo* info = findModule(c.stored);
        if (!c.title) {
            EXPECT_EQ(info, nullptr);
            continue;
        }
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->title, c.title);
    }
}

TEST(ModuleNumbers, NumbersNoModuleHasAreRefused)
{
    for (int n : {-1, 14, 99}) EXPECT_FALSE(moduleFromNumber(n).has_value()) << n;
}

TEST(ModuleNumbers, GroupsFollowTheNumbers)
{
    for (Module m : {Module::Personnel, Module::Training, Module::Titles, Module::Rewards, Module::Transfers,
                     Module::Evaluations, Module::Articles})
        EXPECT_TRUE(isRecordModule(moduleNumber(m)) && !isPayrollModule(moduleNumber(m))) << moduleNumber(m);
    for (Module m : {Module::PayrollSets, Module::SetAssignment, Module::SalaryTables, Module::TimeWork,
                     Module::PieceWork})
        EXPECT_TRUE(isPayrollModule(moduleNumber(m)) && !isRecordModule(moduleNumber(m))) << moduleNumber(m);
    for (Module m : {Module::None, Module::Statistics})
        EXPECT_FALSE(isRecordModule(moduleNumber(m)) || isPayrollModule(moduleNumber(m))) << moduleNumber(m);
}

}  // namespace
}  // namespace rsgz::app
