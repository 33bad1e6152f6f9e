// The figures of the month's declaration, gathered from the rows of every set paid that month.
#include <gtest/gtest.h>

#include "db/Connection.h"
#include "payroll/DeclarationData.h"
#include "payroll/TaxLaw.h"
#include "support/EngineFixture.h"

using namespace rsgz;
using db::Money;

namespace {

Money yuan(const char* text)
{
    Money out;
    EXPECT_TRUE(Money::parse(text, &out)) << text;
    return out;
}

// May 2026. 张三 (hired 2026-03-10) is paid from both sets, 李四 (hired 2010) from 管理 only and has
// chosen to add his bonus to the wages.
class DeclarationDataTest : public test::OnBothEngines {
protected:
    DeclarationDataTest()
    {
        exec("insert into 员工基本情况 (员工编号, 姓名, 身份证号, 入职日期) values "
             "('001', '张三', '11010519491231002x', '2026-03-10'), ('002', '李四', '320106198503020017', '2010-01-01')");
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理'), ('02', '车间')");
        for (const char* set : {"管理", "车间"}) payroll::tax::setTaxMethod(conn, set, payroll::tax::TaxMethod::Cumulative);
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 项目类别) values "
             "('01', 'gz01', '基本工资', '', '否', '收入'), ('01', 'gz02', '年终奖', '', '否', '全年一次性奖金'), "
             "('01', 'gz03', '养老', 'gz01*0.08', '否', '养老保险'), ('01', 'gz04', '公积金', '', '否', '住房公积金'), "
             "('01', 'gz05', '备注项', '', '否', ''), "
             "('02', 'gz01', '加班费', '', '否', '收入'), ('02', 'gz02', '伙食补贴', '', '否', '免税收入')");
        row("001", "管理", "10000", "24000", "0", "1200");
        row("002", "管理", "8000", "5000", "0", "960");
        row("001", "车间", "800", "300", "0", "0");
        exec("insert into 工资表 (员工编号, 姓名, 工资帐套, 年, 月, 结帐状态, gz01) values "
             "('001', '张三', '管理', '2026', '04', '否', 99999)");  // another month: not counted
        exec("insert into 个税年度选项 (员工编号1, 年度, 奖金计税方式) values ('002', 2026, '并入综合所得')");
        exec("insert into 专项附加扣除 (员工编号1, 扣除类别, 子女人数, 起始年月, 结束年月, 每月金额) values "
             "('001', '子女教育', 1, '2025-09', '', 2000), ('001', '住房租金', 0, '2026-04', '2026-04', 1500), "
             "('002', '赡养老人', 0, '2020-01', '', 3000)");
        exec("insert into 其他扣除 (员工编号1, 年月, 扣除类别, 金额) values "
             "('001', '2026-03', '个人养老金', 1000), ('001', '2026-05', '个人养老金', 500), "
             "('001', '2026-04', '商业健康保险', 200), ('001', '2026-05', '商业健康保险', 200)");
    }
    void exec(const std::string& sql) { conn.exec(sql); }
    void row(const char* no, const char* set, const char* a, const char* b, const char* c, const char* d)
    {
        exec(std::string("insert into 工资表 (员工编号, 工资帐套, 年, 月, 结帐状态, gz01, gz02, gz03, gz04) values ('") + no +
             "', '" + set + "', '2026', '05', '否', " + a + ", " + b + ", " + c + ", " + d + ")");
    }

    test::TemporaryDatabase db{engine(), test::Contents::NewOffice};
    db::Connection& conn = db.conn();
};

TEST_P(DeclarationDataTest, MonthFiguresOverBothSetsWithTheYearsDeductions)
{
    const payroll::Declaration d = payroll::gatherDeclaration(conn, 2026, 5);
    ASSERT_EQ(d.wages.size(), 2u);
    const payroll::DeclarationLine& a = d.wages[0];
    EXPECT_EQ(a.number, "001");
    EXPECT_EQ(a.idNumber, "11010519491231002X");
    EXPECT_EQ(a.income, yuan("10800"));       // 10,000 from 管理 + 800 from 车间
    EXPECT_EQ(a.taxFree, yuan("300"));        // 车间's 伙食补贴
    EXPECT_EQ(a.pension, yuan("800"));        // the open row's formula 10,000 × 0.08, not the stored 0
    EXPECT_EQ(a.housingFund, yuan("1200"));
    EXPECT_EQ(a.childEducation, yuan("6000")); // March to May (hired in March) at 2,000
    EXPECT_EQ(a.housingRent, yuan("1500"));    // April only
    EXPECT_EQ(a.privatePension, yuan("1500")); // 1,000 in March + 500 in May: the year's sum
    EXPECT_EQ(a.healthInsurance, yuan("200")); // May's, not April's as well

    const payroll::DeclarationLine& b = d.wages[1];
    EXPECT_EQ(b.income, yuan("13000"));  // 8,000 + the bonus of 5,000 added to the wages
    EXPECT_EQ(b.pension, yuan("640"));   // 8,000 × 0.08
    EXPECT_EQ(b.elderly, yuan("15000")); // January to May at 3,000

    ASSERT_EQ(d.bonuses.size(), 1u);  // 张三's bonus is taxed on its own
    EXPECT_EQ(d.bonuses[0].number, "001");
    EXPECT_EQ(d.bonuses[0].bonus, yuan("24000"));
}

// Only the first bonus of a year is taxed on its own: a second one, in a later month, is wages.
TEST_P(DeclarationDataTest, ASecondBonusOfTheYearIsDeclaredWithTheWages)
{
    exec("insert into 工资表 (员工编号, 工资帐套, 年, 月, 结帐状态, gz01, gz02, gz03, gz04) values "
         "('001', '管理', '2026', '06', '否', 10000, 3000, 0, 1200)");
    const payroll::Declaration d = payroll::gatherDeclaration(conn, 2026, 6);
    ASSERT_EQ(d.wages.size(), 1u);
    EXPECT_EQ(d.wages[0].income, yuan("13000"));
    EXPECT_TRUE(d.bonuses.empty());
}

}  // namespace

RSGZ_ON_BOTH_ENGINES(DeclarationDataTest);
