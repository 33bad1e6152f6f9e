// Salary formulas: what each one is worth on a row, worked out by the program over exact amounts,
// what is refused and where, and the terms of a net-pay formula.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "db/Money.h"
#include "payroll/Formula.h"

using namespace rsgz;
using db::Money;
using payroll::readFormula;

namespace {

Money m(const char* text)
{
    Money out;
    EXPECT_TRUE(Money::read(text, &out) == Money::Reading::Ok) << text;
    return out;
}

class FormulaValue : public ::testing::Test {
protected:
    // The one row: gz01 7, gz02 2, gz03 0, gz04 2.5, 出勤天数 22; gz05 is empty.
    std::map<std::string, std::optional<Money>> row = {
        {"gz01", m("7")}, {"gz02", m("2")}, {"gz03", m("0")}, {"gz04", m("2.5")}, {"出勤天数", m("22")}, {"gz05", {}}};

    // The formula's value on the row, nullopt for an empty value.
    std::optional<Money> evaluate(const std::string& formula)
    {
        const payroll::FormulaResult r = readFormula(formula);
        EXPECT_TRUE(r.ok) << formula << ": " << r.message();
        if (!r.ok) return std::nullopt;
        std::vector<payroll::Formula::Amount> inputs;
        for (const std::string& c : r.formula.columns()) inputs.push_back(row.at(c));
        return r.formula.evaluate(inputs.data());
    }
};

TEST_F(FormulaValue, OldArithmeticMeaning)
{
    struct Case {
        const char* formula;
        const char* expected;
    };
    const Case cases[] = {
        // Division is always real, whole numbers included.
        {"7/2", "3.5"}, {"gz01/gz02", "3.5"}, {"1/4*2", "0.5"},
        // Whole-number division and remainder round their operands half to even first.
        {"7\\2", "3"}, {"7.5\\2", "4"}, {"6.5\\2", "3"}, {"-7\\2", "-3"}, {"7 Mod 3", "1"}, {"-7 mod 3", "-1"}, {"7.5 MOD 2", "0"},
        // Precedence: ^ over sign over * / over \ over Mod over + - over comparisons over Not, And, Or.
        {"1+2*3", "7"}, {"(1+2)*3", "9"}, {"2*3^2", "18"}, {"-2^2", "-4"}, {"2^-1", "0.5"}, {"10-4-3", "3"},
        {"8/4/2", "1"}, {"2^3^2", "64"}, {"7\\2*2", "1"}, {"10 mod 4\\2", "0"}, {"1+7 mod 4", "4"},
        // Functions.
        {"Int(-2.5)", "-3"}, {"Fix(-2.5)", "-2"}, {"int(2.7)", "2"}, {"Round(2.5)", "2"}, {"Round(3.5)", "4"},
        {"Round(-2.5)", "-2"}, {"Round(0.125, 2)", "0.12"}, {"Round(gz04*3, 1)", "7.5"}, {"Abs(-3)", "3"},
        {"Sgn(-4)", "-1"}, {"Sgn(gz03)", "0"}, {"IIf(gz01>5, 1, 2)", "1"}, {"IIf(gz03, 1, 2)", "2"},
        // Comparisons are -1 for true and 0 for false, as numbers.
        {"gz01>5", "-1"}, {"gz01=5", "0"}, {"gz01<>5", "-1"}, {"gz01<=7", "-1"}, {"gz01>=8", "0"}, {"(gz01>5)*100", "-100"},
        {"gz01>5 And gz02>5", "0"}, {"gz01>5 Or gz02>5", "-1"}, {"Not gz03", "-1"}, {"Not gz01>5", "0"},
        // Columns by any case of their letters, in brackets, and 出勤天数.
        {"GZ01+出勤天数", "29"}, {"[gz02]*2", "4"}, {".5+1", "1.5"}, {"gz04 - -1", "3.5"},
    };
    for (const Case& c : cases) {
        const std::optional<Money> v = evaluate(c.formula);
        ASSERT_TRUE(v.has_value()) << c.formula;
        EXPECT_EQ(*v, m(c.expected)) << c.formula << " gives " << v->toString();
    }
}

// Sums are exact; a product or quotient is brought to four decimals half to even, a typed factor
// counting with all its decimals; what leaves the range of an amount is empty, never a wrong number.
TEST_F(FormulaValue, ExactDecimalArithmetic)
{
    row["gz01"] = m("0.1");
    row["gz02"] = m("0.2");
    row["gz03"] = m("12345.67");
    struct Case {
        const char* formula;
        const char* expected;
    };
    const Case cases[] = {
        {"gz01+gz02", "0.3"},           // not 0.30000000000000004
        {"(gz01+gz02)*3-0.9", "0"},
        {"gz03*0.08", "987.6536"},
        {"Round(gz03*0.08, 2)", "987.65"},
        {"gz03*0.00125", "15.4321"},     // 15.4320875: the factor's five decimals count
        {"10/3", "3.3333"},
        {"2/3", "0.6667"},
        {"0.00005*1", "0.0000"},          // half to even at the fourth decimal
        {"0.00015*1", "0.0002"},
        {"gz03/0.5", "24691.34"},
        {"Round(2.345, 2)", "2.34"},      // the user's Round: half to even
        {"Round(2.355, 2)", "2.36"},
        {"Round(-0.5)", "0"},
        {"Int(-0.0001)", "-1"},
        {"Fix(-0.9999)", "0"},
    };
    for (const Case& c : cases) {
        const std::optional<Money> v = evaluate(c.formula);
        ASSERT_TRUE(v.has_value()) << c.formula;
        EXPECT_EQ(*v, m(c.expected)) << c.formula << " gives " << v->toString();
    }
    for (const char* beyond : {"99999999999999*99999999999999", "gz03^100", "99999999999999*9+99999999999999*9"})
        EXPECT_FALSE(evaluate(beyond).has_value()) << beyond;
}

TEST_F(FormulaValue, DivisionByZeroAndEmptyAmountsGiveAnEmptyValueNotAFailure)
{
    for (const char* formula : {"gz01/gz03", "gz01\\gz03", "gz01 mod gz03", "gz01/(gz02-2)", "0^-1", "gz05+1",
                                "gz05>1", "Round(gz01, gz05)"})
        EXPECT_FALSE(evaluate(formula).has_value()) << formula;
    // Only the side that decides matters: false And empty, true Or empty; IIf takes its else part.
    EXPECT_EQ(evaluate("gz03 And gz05"), m("0"));
    EXPECT_EQ(evaluate("gz01 Or gz05"), m("-1"));
    EXPECT_EQ(evaluate("IIf(gz05, 1, 2)"), m("2"));
    // A column named twice is one input.
    EXPECT_EQ(readFormula("gz01+GZ01*[gz01]").formula.columns(), std::vector<std::string>{"gz01"});
}

TEST(FormulaRefusal, NamesPositionAndReason)
{
    struct Case {
        const char* formula;
        int position;
        const char* reason;  // part of the reason
    };
    const Case cases[] = {
        {"gz01; drop table 工资表", 5, "不能有字符“;”"},
        {"gz01 -- 注释", 6, "注释"},
        {"gz01 /* x */", 6, "注释"},
        {"(select gz01 from 工资表)", 2, "“select”不是工资表中的数值列"},
        {"gz01+(select max(gz01) from 工资表)", 7, "select"},
        {"gz40+1", 1, "“gz40”不是工资表中的数值列"},
        {"姓名+1", 1, "不是工资表中的数值列"},
        {"gz01 + 'a'", 8, "“'”"},
        {"gz01 + \"a\"", 8, "“\"”"},
        {"max(gz01, gz02)", 1, "不能使用函数“max”"},
        {"Round(gz01, 2, 3)", 1, "需要1或2个参数"},
        {"IIf(gz01, 1)", 1, "需要3个参数"},
        {"Int gz01", 5, "缺少左括号"},
        {"(gz01+2", 8, "缺少右括号"},
        {"gz01+", 6, "缺少数值或列名"},
        {"gz01)", 5, "多余的右括号"},
        {"gz01 gz02", 6, "缺少运算符"},
        {"gz01+*2", 6, "缺少数值或列名"},
        {"gz01（2）", 5, "全角"},
        {"1.2.3", 1, "写法有误"},
        {"", 1, "公式为空"},
        {"gz01 and", 9, "缺少数值或列名"},
    };
    for (const Case& c : cases) {
        const payroll::FormulaResult r = readFormula(c.formula);
        EXPECT_FALSE(r.ok) << c.formula;
        EXPECT_EQ(r.position, c.position) << c.formula << ": " << r.reason;
        EXPECT_NE(r.reason.find(c.reason), std::string::npos) << c.formula << ": " << r.reason;
    }
}

TEST(FormulaRefusal, MessageSaysWhereInWords)
{
    EXPECT_EQ(readFormula("gz01;").message(), "第 5 个字符处：公式中不能有字符“;”");
    EXPECT_EQ(readFormula("(gz01").message(), "公式末尾：缺少右括号");
    // Nesting beyond reason is refused, not followed until the stack runs out.
    const payroll::FormulaResult deep = readFormula(std::string(400, '(') + "1" + std::string(400, ')'));
    EXPECT_FALSE(deep.ok);
    EXPECT_NE(deep.reason.find("嵌套"), std::string::npos);
    std::string chain = "1";
    for (int i = 0; i < 100000; ++i) chain += "+1";
    EXPECT_EQ(readFormula(chain).reason, "公式过长");
}

TEST(NetPayTerms, SignedColumnTerms)
{
    struct Case {
        const char* formula;
        std::vector<std::string> added, subtracted;
    };
    const Case cases[] = {
        {"gz03-gz04", {"gz03"}, {"gz04"}},
        {"gz01+GZ02-gz03-gz04+出勤天数", {"gz01", "gz02", "出勤天数"}, {"gz03", "gz04"}},
        {" gz01 + gz02 ", {"gz01", "gz02"}, {}},
        // A leading sign belongs to the first term instead of making an empty one.
        {"-gz04+gz01", {"gz01"}, {"gz04"}},
    };
    for (const Case& c : cases) {
        const payroll::NetPayTerms t = payroll::parseNetPayTerms(c.formula);
        ASSERT_TRUE(t.ok) << c.formula << ": " << t.message();
        EXPECT_EQ(t.added, c.added) << c.formula;
        EXPECT_EQ(t.subtracted, c.subtracted) << c.formula;
    }
    for (const char* refused : {"gz01*2", "gz01+", "gz01+(gz02)", "gz01-gz99", "gz01+1", ""}) {
        const payroll::NetPayTerms t = payroll::parseNetPayTerms(refused);
        EXPECT_FALSE(t.ok) << refused;
        EXPECT_FALSE(t.message().empty()) << refused;
    }
}

}  // namespace
