#include <gtest/gtest.h>

#include "exchange/SourceFile.h"
#include "payroll/WithholdingDeclaration.h"
#include "support/TempDir.h"

using namespace rsgz;
using payroll::Declaration;
using payroll::DeclarationLine;

namespace {

db::Money yuan(const char* text)
{
    db::Money m;
    EXPECT_TRUE(db::Money::parse(text, &m)) << text;
    return m;
}

DeclarationLine line(const char* number, const char* name, const char* id)
{
    DeclarationLine l;
    l.number = number;
    l.name = name;
    l.idNumber = id;
    return l;
}

// The two sheets with the client's headings in order; the number stays text (18 digits would lose
// their last places as a number), the amounts are numbers to the fen.
TEST(WithholdingDeclaration, WorkbookHoldsBothSheetsWithTheClientsHeadings)
{
    Declaration d{2026, 3, {}, {}};
    DeclarationLine a = line("007", "张三", "11010519491231002X");
    a.income = yuan("12345.67");
    a.pension = yuan("800");
    a.childEducation = yuan("6000");  // January to March at 2,000
    a.note = "三月";
    d.wages = {a, line("E02", "李四", "320106198503020025")};
    payroll::BonusLine b;
    b.number = "007";
    b.name = "张三";
    b.idNumber = "11010519491231002X";
    b.bonus = yuan("36000.5");
    d.bonuses = {b};

    test::TempDir dir;
    payroll::writeDeclaration(dir.file("申报.xlsx"), d);
    auto file = exchange::openSourceFile(dir.file("申报.xlsx"));
    ASSERT_EQ(file->tables(), (std::vector<std::string>{"正常工资薪金所得", "全年一次性奖金收入"}));

    const exchange::SourceTable wages = file->read("正常工资薪金所得");
    const std::vector<std::string> heading = {
        "工号", "姓名", "证件类型", "证件号码", "本期收入", "本期免税收入", "基本养老保险费", "基本医疗保险费",
        "失业保险费", "住房公积金", "累计子女教育", "累计继续教育", "累计住房贷款利息", "累计住房租金",
        "累计赡养老人", "累计3岁以下婴幼儿照护", "累计个人养老金", "企业(职业)年金", "商业健康保险", "税延养老保险",
        "其他", "准予扣除的捐赠额", "减免税额", "备注"};
    EXPECT_EQ(wages.columns, heading);
    ASSERT_EQ(wages.rows.size(), 2u);
    const std::vector<db::Value>& row = wages.rows[0];
    EXPECT_EQ(row[0], db::Value("007"));
    EXPECT_EQ(row[2], db::Value("居民身份证"));
    EXPECT_EQ(row[3], db::Value("11010519491231002X"));
    EXPECT_EQ(row[4].kind(), db::Value::Kind::Double);
    EXPECT_DOUBLE_EQ(row[4].toDouble(), 12345.67);
    EXPECT_DOUBLE_EQ(row[6].toDouble(), 800);
    EXPECT_DOUBLE_EQ(row[10].toDouble(), 6000);
    EXPECT_DOUBLE_EQ(row[5].toDouble(), 0);  // an amount of nothing is a 0, not a blank
    EXPECT_EQ(row[23], db::Value("三月"));
    EXPECT_EQ(wages.rows[1][3].kind(), db::Value::Kind::Text);

    const exchange::SourceTable bonuses = file->read("全年一次性奖金收入");
    EXPECT_EQ(bonuses.columns, (std::vector<std::string>{"工号", "姓名", "证件类型", "证件号码", "全年一次性奖金额",
                                                          "免税收入", "其他", "准予扣除的捐赠额", "减免税额", "备注"}));
    ASSERT_EQ(bonuses.rows.size(), 1u);
    EXPECT_DOUBLE_EQ(bonuses.rows[0][4].toDouble(), 36000.5);
}

// Who cannot be declared is named with what is wrong, each employee once though on both sheets.
TEST(WithholdingDeclaration, EmployeesWithoutASoundNumberAreNamed)
{
    Declaration d{2026, 3, {}, {}};
    d.wages = {line("001", "张三", "11010519491231002X"), line("002", "李四", ""),
               line("003", "王五", "110105194912310021"), line("004", "赵六", "320106850302001")};
    payroll::BonusLine b;
    b.number = "002";
    b.name = "李四";
    d.bonuses = {b};
    const std::vector<std::string> refused = payroll::declarationRefusals(d, "2026-12-10");
    EXPECT_EQ(refused, (std::vector<std::string>{"002 李四：没有身份证号", "003 王五：身份证号的校验位应为X，现为1",
                                                 "004 赵六：身份证号应为18位，现为15位"}));
    const std::string notice = payroll::refusalNotice(refused);
    EXPECT_NE(notice.find("以下3名员工没有有效的18位身份证号"), std::string::npos) << notice;
    EXPECT_NE(notice.find("\n004 赵六"), std::string::npos) << notice;

    const std::vector<std::string> many(25, "x");
    EXPECT_NE(payroll::refusalNotice(many).find("另有5名"), std::string::npos);
}

}  // namespace
