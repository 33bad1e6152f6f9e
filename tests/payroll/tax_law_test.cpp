// The tax-law tables in a real database: each set's tax method across the upgrade, contribution
// schemes by month, and the year-to-date figures read from the salary rows of every set.
#include <gtest/gtest.h>


#include <algorithm>
#include <filesystem>

#include "db/Connection.h"
#include "app/Interaction.h"
#include "app/RecordRulesFixture.h"
#include "db/SchemaUpgrade.h"
#include "payroll/TaxLaw.h"
#include "payroll/YearToDate.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"

using namespace rsgz;
using rsgz::test::RecordRulesTest;
using namespace rsgz::payroll::tax;
using db::Money;

namespace {

Money y(int64_t yuan) { return Money::fromUnits(yuan * Money::kScale); }

// The previous version's database with its four sets keeps taxing them by the month table; a set
// made after the upgrade withholds cumulatively.
TEST(TaxLaw, UpgradedSetsKeepTheMonthTableNewSetsWithholdCumulatively)
{
    test::TempDir dir;
    const std::string path = dir.path() + "/vesk.db";
    std::filesystem::copy_file(std::string(RSGZ_TEST_DATA) + "/vesk-v1.db", path);
    db::Connection conn(path);
    std::vector<std::string> sets;
    for (db::Statement st = conn.prepareNative("select 帐套名称 from 帐套"); st.step();)
        sets.push_back(st.textOrEmpty(0));
    ASSERT_EQ(sets.size(), 4u);
    {
        db::Transaction t(conn);
        db::applySchemaSteps(conn);
        t.commit();
    }
    for (const std::string& s : sets) EXPECT_EQ(taxMethodOf(conn, s), TaxMethod::Monthly) << s;
    giveTaxMethod(conn, sets[0], TaxMethod::Cumulative);  // has one: kept
    EXPECT_EQ(taxMethodOf(conn, sets[0]), TaxMethod::Monthly);
    setTaxMethod(conn, sets[0], TaxMethod::Cumulative);
    setTaxMethod(conn, sets[0], TaxMethod::Cumulative);  // replaces, never piles up
    EXPECT_EQ(taxMethodOf(conn, sets[0]), TaxMethod::Cumulative);
    db::Statement kinds = conn.prepareNative("select count(*) from 工资帐套明细 where 项目类别 is null");
    EXPECT_TRUE(kinds.step());
}

// A set made in the program (the set window posts the new row of 帐套) withholds cumulatively;
// editing an older set leaves its method alone; a rename takes the method along.
class SetsMadeInTheProgram : public RecordRulesTest {};
RSGZ_ON_BOTH_ENGINES(SetsMadeInTheProgram);

TEST_P(SetsMadeInTheProgram, ASetMadeInTheProgramWithholdsCumulatively)
{
    exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '旧帐套')");
    open(tdm.gz_zt, "select * from 帐套");
    ui.onWindow("帐套数据编辑", [this] {
        tdm.gz_zt.setValue("帐套编号", "02");
        tdm.gz_zt.setValue("帐套名称", "新帐套");
        tdm.gz_zt.post();
    });
    ASSERT_TRUE(app::runAction([this] { tdm.gz_zt.append(); }));
    EXPECT_EQ(taxMethodOf(tdm.DMADO, "新帐套"), TaxMethod::Cumulative);
    ASSERT_TRUE(tdm.gz_zt.locate("帐套名称", db::Value("旧帐套")));
    tdm.gz_zt.edit();
    tdm.gz_zt.setValue("帐套编号", "03");
    tdm.gz_zt.post();
    EXPECT_EQ(taxMethodOf(tdm.DMADO, "旧帐套"), TaxMethod::Monthly);
    // Renamed before any row names it, the new set keeps its method under the new name.
    ASSERT_TRUE(tdm.gz_zt.locate("帐套名称", db::Value("新帐套")));
    tdm.gz_zt.edit();
    tdm.gz_zt.setValue("帐套名称", "生产帐套");
    tdm.gz_zt.post();
    EXPECT_EQ(taxMethodOf(tdm.DMADO, "生产帐套"), TaxMethod::Cumulative);
    EXPECT_EQ(rowsIn("帐套设置 where 帐套名称='新帐套'"), 0);
}

class TaxDatabase : public ::testing::Test {
protected:
    void exec(const std::string& sql) { conn.exec(sql); }
    test::TestDatabase db;
    db::Connection conn{db.livePath()};
};

class SchemeDatabase : public TaxDatabase {
protected:
    SchemeDatabase()
    {
        exec("insert into 缴费方案 (方案名称, 险种, 个人比例, 单位比例, 个人附加额, 单位附加额, 基数下限, 基数上限, 舍入单位, "
         "舍入方式, 起始年月) values "
         "('标准', '养老保险', 8, 16, 0, 0, 4000, 30000, '分', '四舍五入', '2025-01'), "
         "('标准', '住房公积金', 12, 12, 0, 0, 0, 0, '元', '四舍五入', '2025-01'), "
         "('标准', '大病互助', 0, 0, 10, 0, 0, 0, '分', '四舍五入', '2025-01'), "
         "('标准', '养老保险', 8, 16, 0, 0, 5000, 30000, '分', '四舍五入', '2026-07'), "
         "('其他', '养老保险', 1, 1, 0, 0, 0, 0, '分', '四舍五入', '2025-01')");
    exec("insert into 缴费基数 (员工编号1, 年度, 社保基数, 公积金基数) values ('E1', 2026, 10000, 8000.5), "
         "('E2', 2026, 3000, 0), ('E1', 2025, 1, 1)");
        setSchemeOfSet(conn, "管理", "标准");
    }
};

TEST_F(SchemeDatabase, SchemeRulesInForceByMonthAndEachEmployeesAmounts)
{
    // March: the 2025 rules. E1: 10000 × 8% = 800, × 16% = 1600; 8000.5 × 12% = 960.06 → 960 (to the
    // yuan); 大病互助 a flat 10. E2: 3000 below the floor 4000: 320; no housing-fund base: nothing.
    const auto march = contributionsOfAll(conn, "管理", {2026, 3});
    ASSERT_EQ(march.size(), 2u);
    const auto& e1 = march.at("E1");
    ASSERT_EQ(e1.size(), 3u);
    EXPECT_EQ(e1[0].kind, "养老保险");
    EXPECT_EQ(e1[0].employee, y(800));
    EXPECT_EQ(e1[0].employer, y(1600));
    EXPECT_EQ(e1[1].employee, y(960));
    EXPECT_EQ(e1[2].employee, y(10));
    EXPECT_EQ(march.at("E2")[0].employee, y(320));
    EXPECT_EQ(march.at("E2")[1].employee, y(0));

    // From July the floor is 5000: E2 pays 5000 × 8% = 400.
    const auto july = contributionsOf(conn, "E2", "管理", {2026, 7});
    EXPECT_EQ(july[0].base, y(5000));
    EXPECT_EQ(july[0].employee, y(400));

    // A scheme's own kind is offered to items beside the standard ones, before 其他扣除.
    const auto kinds = itemKindChoices(conn);
    const auto at = [&](const char* k) { return std::find(kinds.begin(), kinds.end(), k) - kinds.begin(); };
    EXPECT_LT(at("大病互助"), at("其他扣除"));
    EXPECT_LT(at("住房公积金"), at("大病互助"));
}

TEST_F(SchemeDatabase, ContributionsFeedTheItemsOfTheirKindInOpenRows)
{
    exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
    exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 项目类别) values "
         "('01', 'gz01', '基本工资', '', '否', '收入'), ('01', 'gz02', '养老', '', '否', '养老保险'), "
         "('01', 'gz03', '公积金', '', '否', '住房公积金')");
    exec("insert into 工资表 (员工编号, 年, 月, 工资帐套, 结帐状态, gz02, gz03) values "
         "('E1', '2026', '03', '管理', '否', 0, 0), ('E2', '2026', '03', '管理', null, 0, 0), "
         "('E3', '2026', '03', '管理', '否', 55, 66), ('E1', '2026', '02', '管理', '是', 1, 1), "
         "('E1', '2026', '03', '其他帐套', '否', 7, 7)");
    EXPECT_EQ(fillContributions(conn, "管理", {2026, 3}), 2);
    auto cells = [&](const char* no, const char* month, const char* set) {
        db::Statement st = conn.prepareNative(std::string("select gz02, gz03 from 工资表 where 员工编号='") + no +
                                              "' and 月='" + month + "' and 工资帐套='" + set + "'");
        EXPECT_TRUE(st.step());
        return std::make_pair(st.number(0), st.number(1));
    };
    EXPECT_EQ(cells("E1", "03", "管理"), std::make_pair(800.0, 960.0));
    EXPECT_EQ(cells("E2", "03", "管理"), std::make_pair(320.0, 0.0));
    EXPECT_EQ(cells("E3", "03", "管理"), std::make_pair(55.0, 66.0));      // no bases: kept
    EXPECT_EQ(cells("E1", "02", "管理"), std::make_pair(1.0, 1.0));        // closed: kept
    EXPECT_EQ(cells("E1", "03", "其他帐套"), std::make_pair(7.0, 7.0));    // another set
}

// Two sets: 管理 (gz01 基本工资 and gz02 津贴 = gz01*0.1 are 收入, gz03 养老保险, gz04 个税 on 基本工资,
// gz05 实发) and 补贴 (gz01 补贴 of no kind, gz02 个税 on it: its base is its income). E1 has
// a loan of 1000 a month declared from February; E2 was hired in March.
class YearToDateRead : public TaxDatabase {
protected:
    YearToDateRead()
    {
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理'), ('02', '补贴')");
        for (const char* set : {"管理", "补贴"}) setTaxMethod(conn, set, TaxMethod::Cumulative);
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联, 项目类别) "
             "values ('01', 'gz01', '基本工资', '', '否', 0, '', '收入'), "
             "('01', 'gz02', '津贴', 'gz01*0.1', '否', 0, '', '收入'), "
             "('01', 'gz03', '养老', '', '否', 0, '', '养老保险'), "
             "('01', 'gz04', '个税', '', '是', 5000, '基本工资', '个税'), "
             "('01', 'gz05', '实发', 'gz01+gz02-gz03-gz04', '否', 0, '', '实发'), "
             "('02', 'gz01', '补贴', '', '否', 0, '', null), ('02', 'gz02', '个税', '', '是', 0, '补贴', null)");
        exec("insert into 员工基本情况 (员工编号, 姓名, 入职日期) values ('E1', '甲', '2020-04-01'), "
             "('E2', '乙', '2026-03-01')");
        exec("insert into 专项附加扣除 (员工编号1, 扣除类别, 起始年月, 每月金额) values ('E1', '住房贷款利息', '2026-02', 1000)");
        // January closed with 200 withheld; February and March still open (津贴 stored as 0 there).
        row("E1", "01", "管理", "是", "10000, 1000, 800, 200");
        row("E1", "02", "管理", "否", "10000, 0, 800, 0");
        row("E1", "03", "管理", "否", "10000, 0, 800, 0");
        row("E2", "03", "管理", "否", "8000, 0, 0, 0");
        exec("insert into 工资表 (员工编号, 姓名, 年, 月, 工资帐套, 结帐状态, gz01) values ('E1', '甲', '2026', '03', '补贴', '否', 2000)");
        exec("insert into 工资表 (员工编号, 姓名, 年, 月, 工资帐套, 结帐状态, gz01, gz02, gz03, gz04) values "
             "('E1', '甲', '2025', '12', '管理', '是', 99999, 0, 0, 0)");  // another year: never read
    }
    void row(const char* no, const char* month, const char* set, const char* closed, const std::string& amounts)
    {
        exec(std::string("insert into 工资表 (员工编号, 姓名, 年, 月, 工资帐套, 结帐状态, gz01, gz02, gz03, gz04) values ('") +
             no + "', '员工', '2026', '" + month + "', '" + set + "', '" + closed + "', " + amounts + ")");
    }
    static PayUnit unit(int month, const char* set, int order, int64_t income, int64_t pension)
    {
        PayUnit u;
        u.month = month;
        u.set = set;
        u.setOrder = order;
        u.pay.income = y(income);
        u.pay.pension = y(pension);
        return u;
    }
};

TEST_F(YearToDateRead, ClosedRowsByTheirStoredTaxOpenMonthsAsTheViewComputesThem)
{
    const YearToDate ytd = YearToDate::read(conn, 2026, 3, "管理");
    EXPECT_EQ(ytd.openMonths(), std::vector<std::string>{"2026年02月（帐套“管理”）"});
    // January: closed, 200 withheld. February, open: 10000 + 津贴 10000 × 0.1 = 11000 (not the
    // stored 0); 22000 − 10000 − 1600 − 1000 loan = 9400 → 282 − 200 = 82.
    const auto before = ytd.walked("E1");
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(before[0].tax, y(200));
    EXPECT_EQ(before[1].income, y(22000));
    EXPECT_EQ(before[1].tax, y(82));
    // March of 管理: 33000 − 15000 − 2400 − 2000 = 13600 → 408 − 282 = 126.
    const CumulativeFigures march = ytd.withRow("E1", unit(3, "管理", ytd.setOrder("管理"), 11000, 800));
    EXPECT_EQ(march.taxable, y(13600));
    EXPECT_EQ(march.additionalByCategory.at("住房贷款利息"), y(2000));
    EXPECT_EQ(march.withheld, y(282));
    EXPECT_EQ(march.tax, y(126));
    // E2, hired in March: 8000 − 5000 = 3000 → 90.
    EXPECT_EQ(ytd.withRow("E2", unit(3, "管理", ytd.setOrder("管理"), 8000, 0)).tax, y(90));
}

TEST_F(YearToDateRead, ASecondSetOfTheMonthFollowsTheFirst)
{
    // 补贴 comes after 管理: it sees March of 管理 (126 withheld) and adds its 2000 (its tax base,
    // its items name no kind): 35000 − 15000 − 2400 − 2000 = 15600 → 468 − 408 = 60.
    const YearToDate ytd = YearToDate::read(conn, 2026, 3, "补贴");
    EXPECT_EQ(ytd.openMonths().size(), 2u);
    const CumulativeFigures f = ytd.withRow("E1", unit(3, "补贴", ytd.setOrder("补贴"), 2000, 0));
    EXPECT_EQ(f.taxable, y(15600));
    EXPECT_EQ(f.tax, y(60));

    // The whole month, every set: the four rows withhold 200 + 82 + 126 + 60 = 468, all that is due.
    const auto all = YearToDate::read(conn, 2026, 3).walked("E1");
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all.back().set, "补贴");
    EXPECT_EQ(all.back().income, y(35000));
    EXPECT_EQ(all.back().withheld + all.back().tax, y(468));

    // Narrowed to E2, nothing of E1 is read.
    const YearToDate only = YearToDate::read(conn, 2026, 3, "管理", {"E2"});
    EXPECT_TRUE(only.walked("E1").empty());
    EXPECT_EQ(only.employees(), std::vector<std::string>{"E2"});
}

}  // namespace
