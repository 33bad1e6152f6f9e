// The salary view: its statement, the tax and net pay of each row, and closing and reopening.
#include <gtest/gtest.h>

#include <string>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "payroll/SalaryView.h"
#include "support/EngineFixture.h"

using namespace rsgz;
using db::Money;
using payroll::SalaryView;

namespace {

Money m(const char* text)
{
    Money out;
    EXPECT_TRUE(Money::parse(text, &out)) << text;
    return out;
}

class SalaryViewTest : public test::OnBothEngines {
protected:
    // Set 管理: gz01 基本工资 and gz02 奖金 entered, gz03 应发 = gz01+gz02, gz04 个税 on 应发 above
    // 1600, gz05 实发 = gz03-gz04. Set 空 has no items.
    SalaryViewTest()
    {
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理'), ('02', '空')");
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联) values "
             "('01', 'gz01', '基本工资', '', '否', 0, ''), ('01', 'gz02', '奖金', '', '否', 0, ''), "
             "('01', 'gz03', '应发', 'gz01+gz02', '否', 0, ''), ('01', 'gz04', '个税', '', '是', 1600, '应发'), "
             "('01', 'gz05', '实发', 'gz03-gz04', '否', 0, '')");
        exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 500, 5, 0), (500, 2000, 10, 25), "
             "(2000, 5000, 15, 125)");
    }
    void exec(const std::string& sql) { conn.exec(sql); }
    void addRow(const char* no, const char* month, const char* basic, const char* bonus = "0")
    {
        exec(std::string("insert into 工资表 (姓名, 员工编号, 工资帐套, 年, 月, 结帐状态, gz01, gz02) values ('员工") + no +
             "', '" + no + "', '管理', '2024', '" + month + "', '否', " + basic + ", " + bonus + ")");
    }
    std::string cell(const char* no, const char* month, const char* column)
    {
        db::Statement st = conn.prepareNative(std::string("select ") + column + " from 工资表 where 员工编号='" + no +
                                              "' and 月='" + month + "'");
        if (!st.step()) return "<no row>";
        return st.text(0).value_or("<null>");
    }
    // The displayed value of a column on the row of an employee.
    Money shown(const char* no, const char* column)
    {
        EXPECT_TRUE(gzb.locate("员工编号", db::Value(no))) << no;
        return gzb.asMoney(column);
    }
    void openMonth(const char* month)
    {
        view.build("管理");
        view.filter().nodes = {{"月", month}, {"年", "2024"}};
        view.open();
    }

    test::TemporaryDatabase db{engine(), test::Contents::NewOffice};
    db::Connection& conn = db.conn();
    db::DataSet gzb{&conn, "gzb"};
    SalaryView view{conn, gzb};
};
RSGZ_ON_BOTH_ENGINES(SalaryViewTest);

TEST_P(SalaryViewTest, StatementOfTheExampleSetAndOfASetWithoutItems)
{
    view.build("管理");
    const auto& cfg = view.config();
    EXPECT_EQ(cfg.taxColumn, "gz04");
    EXPECT_EQ(cfg.taxBaseColumn, "gz03");
    EXPECT_EQ(cfg.netColumn, "gz05");
    EXPECT_EQ(cfg.added, std::vector<std::string>{"gz03"});
    EXPECT_EQ(cfg.subtracted, std::vector<std::string>{"gz04"});
    EXPECT_TRUE(cfg.warnings.empty());

    const db::SqlLines lines = view.statement();
    const db::SqlLines tail(lines.end() - 13, lines.end());
    const db::SqlLines expected = {"gz01", ",", "gz02", ",",
                                   "gz03 as 已存gz03", ",", "gz04 as 已存gz04", ",", "gz05 as 已存gz05", "", " from 工资表",
                                   "where 工资帐套='管理'"};
    EXPECT_EQ(db::SqlLines(tail.begin() + 1, tail.end()), expected);
    EXPECT_EQ(lines.front(), "select ");
    // The other columns come first, each followed by a comma line, and no item's column among them.
    for (size_t i = 1; i + 13 < lines.size(); i += 2) {
        EXPECT_TRUE(lines[i] != "gz01" && lines[i] != "gz03" && lines[i] != "gz05") << lines[i];
        EXPECT_EQ(lines[i + 1], ",");
    }

    view.build("空");
    const db::SqlLines bare = view.statement();
    EXPECT_EQ(bare[bare.size() - 3], "");  // the last comma line blanked
    EXPECT_EQ(bare[bare.size() - 2], " from 工资表");
    EXPECT_EQ(std::count(bare.begin(), bare.end(), std::string("gz39")), 1);
    EXPECT_TRUE(view.config().taxColumn.empty() && view.config().netColumn.empty());
    view.open();  // a valid statement
    EXPECT_EQ(gzb.recordCount(), 0);
}

TEST_P(SalaryViewTest, TaxAndNetPayPerRow)
{
    struct Case {
        const char* no;
        const char* basic;
        const char* bonus;
        const char* tax;
        const char* net;
    };
    const Case cases[] = {
        {"A", "1500", "99.99", "0", "1599.99"},     // below the threshold
        {"B", "1600", "0", "0", "1600"},            // at it
        {"C", "1600", "0.01", "0", "1600.01"},      // one fen above: 5 % of a fen is no fen
        {"D", "2000", "100", "25", "2075"},         // 500 above: still the first bracket
        {"E", "2000", "100.01", "25", "2075.01"},   // one fen into the second: 25.001
        {"F", "3000", "600", "175", "3425"},        // 2000 above: top of the second
        {"G", "3000", "600.01", "175", "3425.01"},  // 175.0015
        {"H", "3000", "610.03", "176.5", "3433.53"},// 176.5045 to the fen, and net takes that figure
    };
    for (const Case& c : cases) addRow(c.no, "03", c.basic, c.bonus);
    openMonth("03");
    ASSERT_EQ(gzb.recordCount(), 8);
    for (const Case& c : cases) {
        EXPECT_EQ(shown(c.no, "gz04"), m(c.tax)) << c.no;
        EXPECT_EQ(shown(c.no, "gz05"), m(c.net)) << c.no;
        EXPECT_EQ(shown(c.no, "gz03"), m(c.basic) + m(c.bonus)) << c.no;
    }
    // Nothing was written back.
    EXPECT_EQ(cell("G", "03", "gz04"), "<null>");
}

TEST_P(SalaryViewTest, FaultyNetPayFormulaIsReportedOnceAndShowsTheStoredValue)
{
    exec("update 工资帐套明细 set 计算公式='gz03-gz04-扣款' where 工资代码='gz05'");
    addRow("A", "03", "2000");
    exec("update 工资表 set gz05=7");
    openMonth("03");
    ASSERT_EQ(view.config().warnings.size(), 1u);
    EXPECT_NE(view.config().warnings[0].find("扣款"), std::string::npos);
    EXPECT_TRUE(view.config().netColumn.empty());
    EXPECT_EQ(shown("A", "gz05"), m("7"));
    EXPECT_EQ(shown("A", "gz04"), m("20"));  // the tax still computed
}

TEST_P(SalaryViewTest, ClosingAndReopeningTakeTheNodeScopeNotTheSort)
{
    addRow("A", "03", "2000");
    addRow("B", "03", "3000");
    addRow("A", "04", "2000");
    openMonth("03");
    view.filter().sortField = "姓名";
    view.filter().descending = true;
    view.open();
    EXPECT_NE(view.question(true).find("2 条工资记录（2024年03月）"), std::string::npos) << view.question(true);
    EXPECT_EQ(view.closeRows(), 2);
    EXPECT_EQ(cell("A", "03", "结帐状态"), "是");
    EXPECT_EQ(cell("B", "03", "结帐状态"), "是");
    EXPECT_EQ(cell("A", "04", "结帐状态"), "否");
    EXPECT_EQ(gzb.recordCount(), 2);  // the view is read again on the same statement

    // Without a node every month of the set is affected, and the question says so.
    view.filter().nodes.clear();
    view.open();
    EXPECT_NE(view.question(false).find("所有月份"), std::string::npos);
    EXPECT_EQ(view.reopenRows(), 2);
    EXPECT_EQ(cell("A", "03", "结帐状态"), "否");
}

TEST_P(SalaryViewTest, ClosedMonthKeepsItsValuesWhenBracketsAndFormulasChange)
{
    addRow("A", "03", "2000", "100");
    openMonth("03");
    view.closeRows();
    EXPECT_EQ(cell("A", "03", "gz03"), "2100.0");
    EXPECT_EQ(cell("A", "03", "gz04"), "25.0");
    EXPECT_EQ(cell("A", "03", "gz05"), "2075.0");

    exec("update 所得税设置 set 税率=20");
    exec("update 工资帐套明细 set 计算公式='gz01*2' where 工资代码='gz03'");
    openMonth("03");
    EXPECT_EQ(shown("A", "gz03"), m("2100"));
    EXPECT_EQ(shown("A", "gz04"), m("25"));
    EXPECT_EQ(shown("A", "gz05"), m("2075"));

    view.reopenRows();  // computed afresh: 4000 above 1600 is 2400 at 20 % less 125
    EXPECT_EQ(shown("A", "gz03"), m("4000"));
    EXPECT_EQ(shown("A", "gz04"), m("355"));
    EXPECT_EQ(shown("A", "gz05"), m("3645"));
}

}  // namespace
