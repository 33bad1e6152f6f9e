// Formulas that build on formulas: each item computed in the order the items depend on each other,
// every computed amount to the fen, the same figure for everything reading the salary view; the
// checks that refuse a cycle or a code the set lacks when an item is saved; and a copied closed month.

#include "app/RecordRulesFixture.h"
#include "app/Interaction.h"
#include "payroll/MonthTable.h"
#include "payroll/SalaryView.h"

namespace rsgz::test {
namespace {

using db::Money;

Money m(const char* text)
{
    Money out;
    EXPECT_TRUE(Money::parse(text, &out)) << text;
    return out;
}

// Set 管理人员: gz01 基本工资, gz02 岗位工资, gz03 奖金 entered; gz04 应发工资 their sum; gz05 养老保险
// Round(应发*0.08, 2); gz06 医疗保险 应发*0.02 (to the fen by the program); gz07 税前工资 = 应发 less
// both (a chain of three); gz08 个税 on 税前 above 1600; gz09 实发工资 = 税前 - 个税. The items are
// listed out of their order of computation on purpose: 税前 comes before what it reads.
class ChainedFormulasTest : public RecordRulesTest {
protected:
    ChainedFormulasTest()
    {
        seed();
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联) values "
             "('01', 'gz07', '税前工资', 'gz04-gz05-gz06', '否', 0, ''), "
             "('01', 'gz01', '基本工资', '', '否', 0, ''), ('01', 'gz02', '岗位工资', '', '否', 0, ''), "
             "('01', 'gz03', '奖金', '', '否', 0, ''), ('01', 'gz04', '应发工资', 'gz01+gz02+gz03', '否', 0, ''), "
             "('01', 'gz05', '养老保险', 'Round(gz04*0.08,2)', '否', 0, ''), "
             "('01', 'gz06', '医疗保险', 'gz04*0.02', '否', 0, ''), "
             "('01', 'gz08', '个税', '', '是', 1600, '税前工资'), ('01', 'gz09', '实发工资', 'gz07-gz08', '否', 0, '')");
        exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 500, 5, 0), (500, 2000, 10, 25), "
             "(2000, 5000, 15, 125)");
        exec("update 员工基本情况 set 工资帐套名称='管理人员', 工资核算='是'");
    }

    void addRow(const char* no, const char* month, const char* basic, const char* post, const char* bonus,
                const char* state = "否")
    {
        exec(std::string("insert into 工资表 (姓名, 员工编号, 工资帐套, 年, 月, 结帐状态, gz01, gz02, gz03) values ('") +
             no + "', '" + no + "', '管理人员', '2024', '" + month + "', '" + state + "', " + basic + ", " + post + ", " +
             bonus + ")");
    }
    void openMonth(const char* month)
    {
        view.build("管理人员");
        view.filter().nodes = {{"月", month}, {"年", "2024"}};
        view.open();
    }
    // The value the grid shows for a column of an employee's row, checked against the per-row access.
    Money shown(const char* no, const char* column)
    {
        EXPECT_TRUE(tdm.gzb.locate("员工编号", db::Value(no))) << no;
        const Money v = tdm.gzb.asMoney(column);
        EXPECT_EQ(view.valueOf(tdm.gzb.asInt("编号"), column), v) << no << " " << column;
        return v;
    }
    std::string stored(const char* no, const char* month, const char* column)
    {
        db::Statement st = tdm.DMADO.prepareNative(std::string("select ") + column + " from 工资表 where 员工编号='" + no +
                                                   "' and 月='" + month + "'");
        if (!st.step()) return "<no row>";
        return st.text(0).value_or("<null>");
    }
    // Edits an item of the set as the item window saves it; false when a rule refused.
    bool saveFormula(const char* code, const char* formula, const char* taxLink = nullptr)
    {
        ui.clear();
        open(tdm.zt_mx, "select * from 工资帐套明细 where 帐套编号1='01' order by 工资代码");
        EXPECT_TRUE(tdm.zt_mx.locate("工资代码", db::Value(code))) << code;
        const bool saved = app::runAction([&] {
            tdm.zt_mx.edit();
            tdm.zt_mx.setValue("计算公式", formula);
            if (taxLink) tdm.zt_mx.setValue("个税关联", taxLink);
            tdm.zt_mx.post();
        });
        if (tdm.zt_mx.isEditing()) tdm.zt_mx.cancel();
        return saved;
    }

    payroll::SalaryView view{tdm.DMADO, tdm.gzb};
};

RSGZ_ON_BOTH_ENGINES(ChainedFormulasTest);

TEST_P(ChainedFormulasTest, EachFormulaTakesTheComputedValuesOfTheItemsItNames)
{
    struct Case {
        const char* no;
        const char* basic;
        const char* post;
        const char* bonus;
        const char* gross, *pension, *medical, *pretax, *tax, *net;
    };
    const Case cases[] = {
        // 4300.43 × 0.08 = 344.0344; × 0.02 = 86.0086 → 86.01; 2270.39 above 1600: 340.5585 − 125 → 215.56.
        {"E01", "3000", "1000.10", "300.33", "4300.43", "344.03", "86.01", "3870.39", "215.56", "3654.83"},
        {"E02", "1500", "0", "0", "1500", "120", "30", "1350", "0", "1350"},
        // Amounts that floating point gets wrong: 0.1 + 0.2 + 0.3 is 0.6; 0.048 → 0.05, 0.012 → 0.01.
        {"E03", "0.1", "0.2", "0.3", "0.6", "0.05", "0.01", "0.54", "0", "0.54"},
        // 20.005 is brought to the fen half up, not half to even.
        {"E04", "1000", "0.25", "0", "1000.25", "80.02", "20.01", "900.22", "0", "900.22"},
        // A stored amount keeps its four decimals; what is computed from it is to the fen.
        {"E05", "2000.0049", "0", "0", "2000", "160", "40", "1800", "10", "1790"},
    };
    for (const Case& c : cases) addRow(c.no, "03", c.basic, c.post, c.bonus);
    openMonth("03");
    EXPECT_TRUE(view.config().warnings.empty()) << view.config().warnings.front();
    ASSERT_EQ(tdm.gzb.recordCount(), 5);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.no);
        EXPECT_EQ(shown(c.no, "gz01"), m(c.basic));
        EXPECT_EQ(shown(c.no, "gz04"), m(c.gross));
        EXPECT_EQ(shown(c.no, "gz05"), m(c.pension));
        EXPECT_EQ(shown(c.no, "gz06"), m(c.medical));
        EXPECT_EQ(shown(c.no, "gz07"), m(c.pretax));
        EXPECT_EQ(shown(c.no, "gz08"), m(c.tax));
        EXPECT_EQ(shown(c.no, "gz09"), m(c.net));
        EXPECT_EQ(view.taxOf(tdm.gzb.asInt("编号")), m(c.tax));
        EXPECT_EQ(view.netOf(tdm.gzb.asInt("编号")), m(c.net));
    }

    // Sorting by a computed column orders by the figures shown.
    view.filter().sortField = "gz07";
    view.open();
    std::vector<std::string> order;
    for (tdm.gzb.first(); !tdm.gzb.eof(); tdm.gzb.next()) order.push_back(tdm.gzb.asString("员工编号"));
    EXPECT_EQ(order, (std::vector<std::string>{"E03", "E04", "E02", "E05", "E01"}));

    // Closing writes what was shown, to the fen.
    view.filter().sortField.clear();
    view.closeRows();
    EXPECT_EQ(stored("E01", "03", "gz06"), "86.01");
    EXPECT_EQ(stored("E01", "03", "gz08"), "215.56");
    EXPECT_EQ(stored("E01", "03", "gz09"), "3654.83");
    EXPECT_EQ(stored("E05", "03", "gz01"), "2000.0049");
}

TEST_P(ChainedFormulasTest, TypedAmountsAreComputedThroughTheChainAtOnce)
{
    addRow("E01", "03", "3000", "1000.10", "300.33");
    addRow("E02", "03", "1500", "0", "0");
    openMonth("03");
    ASSERT_TRUE(tdm.gzb.locate("员工编号", db::Value("E02")));
    tdm.gzb.edit();
    tdm.gzb.setValue("gz01", db::Value(m("2000")));
    EXPECT_EQ(tdm.gzb.asMoney("gz09"), m("1790"));  // as typed, before it is saved
    tdm.gzb.post();
    tdm.gzb.first();  // E01 is current now; E02's row is read from what was worked out at the post
    const int e02 = tdm.gzb.locate("员工编号", db::Value("E02")) ? tdm.gzb.currentRow() : -1;
    tdm.gzb.first();
    EXPECT_EQ(tdm.gzb.valueAt(e02, tdm.gzb.fieldIndex("gz09")).toMoney(), m("1790"));
    EXPECT_EQ(stored("E02", "03", "gz09"), "<null>");  // computed, never written while open
}

TEST_P(ChainedFormulasTest, SavingAnItemRefusesACycleAndACodeTheSetLacks)
{
    struct Case {
        const char* code;
        const char* formula;
        const char* taxLink;
        const char* refusal;  // exactly the notice, or nullptr when it is saved
    };
    const Case cases[] = {
        {"gz06", "gz05*0.25", nullptr, nullptr},  // 医疗 now reads 养老: allowed
        {"gz05", "Round(gz06*0.08,2)", nullptr, "公式循环引用：gz05 → gz06 → gz05"},
        {"gz05", "gz05+1", nullptr, "公式循环引用：gz05 → gz05"},
        {"gz04", "gz01+gz02+gz07", nullptr, "公式循环引用：gz04 → gz07 → gz04"},
        // Through the tax item's base: 个税 on 税前, 税前 from 应发.
        {"gz04", "gz01+gz08", nullptr, "公式循环引用：gz04 → gz08 → gz07 → gz04"},
        {"gz08", "", "实发工资", "公式循环引用：gz08 → gz09 → gz08"},
        {"gz05", "gz04*0.08+gz30", nullptr, "计算公式中的“gz30”不是本帐套的工资代码！"},
        {"gz05", "(gz04+gz02", nullptr, "计算公式有误，公式末尾：缺少右括号"},
        {"gz03", "出勤天数*10", nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + c.formula);
        EXPECT_EQ(saveFormula(c.code, c.formula, c.taxLink), c.refusal == nullptr);
        if (c.refusal) {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_EQ(ui.messages[0], c.refusal);
        }
    }
    open(tdm.zt_mx, "select * from 工资帐套明细 where 工资代码='gz05'");
    EXPECT_EQ(tdm.zt_mx.asString("计算公式"), "Round(gz04*0.08,2)");  // every refusal left it as it was
}

// A cycle already in a database (written before the check existed) is said once; its items show
// their stored values and everything else is computed.
TEST_P(ChainedFormulasTest, AStoredCycleIsReportedAndShowsStoredValues)
{
    exec("update 工资帐套明细 set 计算公式='gz06+1' where 工资代码='gz05'");
    exec("update 工资帐套明细 set 计算公式='gz05+1' where 工资代码='gz06'");
    addRow("E01", "03", "1000", "0", "0");
    exec("update 工资表 set gz05=7, gz06=8");
    openMonth("03");
    ASSERT_EQ(view.config().warnings.size(), 1u);
    EXPECT_EQ(view.config().warnings[0].rfind("公式循环引用：gz05 → gz06 → gz05", 0), 0u) << view.config().warnings[0];
    EXPECT_EQ(shown("E01", "gz05"), m("7"));
    EXPECT_EQ(shown("E01", "gz07"), m("985"));
}

// January is closed with its figures; February is copied from it and everyone gets a raise. The
// formulas of February are worked out afresh from February's amounts, not from January's frozen ones.
TEST_P(ChainedFormulasTest, ACopiedClosedMonthIsComputedAfreshAfterARaise)
{
    addRow("E01", "01", "3000", "1000.10", "300.33");
    addRow("E02", "01", "1500", "0", "0");
    openMonth("01");
    view.closeRows();
    ASSERT_EQ(stored("E01", "01", "gz09"), "3654.83");

    ASSERT_EQ(payroll::MonthTable(tdm.DMADO).copyPreviousMonth(payroll::Period::of("管理人员", 2024, 2)), 2);
    EXPECT_EQ(stored("E01", "02", "gz04"), "0.0");  // the computed columns start from nothing
    EXPECT_EQ(stored("E01", "02", "gz09"), "0.0");
    EXPECT_EQ(stored("E01", "02", "gz02"), "1000.1");
    exec("update 工资表 set gz01=gz01+500 where 月='02'");

    struct Case {
        const char* no;
        const char* month;
        const char* gross, *tax, *net;
    };
    const Case cases[] = {
        {"E01", "01", "4300.43", "215.56", "3654.83"},
        // 4800.43: pension 384.03, medical 96.01, pretax 4320.39, 2720.39 above → 283.06.
        {"E01", "02", "4800.43", "283.06", "4037.33"},
        {"E02", "01", "1500", "0", "1350"},
        {"E02", "02", "2000", "10", "1790"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.no) + " " + c.month);
        openMonth(c.month);
        EXPECT_EQ(shown(c.no, "gz04"), m(c.gross));
        EXPECT_EQ(shown(c.no, "gz08"), m(c.tax));
        EXPECT_EQ(shown(c.no, "gz09"), m(c.net));
    }
}

}  // namespace
}  // namespace rsgz::test
