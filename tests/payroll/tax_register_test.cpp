// An employee's tax register of a year, walked as the withholding walks it.
#include <gtest/gtest.h>

#include "db/Connection.h"
#include "exchange/SourceFile.h"
#include "payroll/TaxLaw.h"
#include "payroll/TaxRegister.h"
#include "support/TempDir.h"
#include "support/EngineFixture.h"

using namespace rsgz;
using db::Money;

namespace {

Money y(int64_t yuan) { return Money::fromUnits(yuan * Money::kScale); }
Money fen(int64_t f) { return Money::fromUnits(f * 100); }

// 管理 withholds cumulatively: gz01 基本工资 (收入), gz02 养老 (养老保险), gz03 个税 on 基本工资. 甲 was
// hired long ago and has a raise in February; 乙 is paid as well and must not show in 甲's register.
class TaxRegisterTest : public test::OnBothEngines {
protected:
    TaxRegisterTest()
    {
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
        payroll::tax::setTaxMethod(conn, "管理", payroll::tax::TaxMethod::Cumulative);
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联, 项目类别) values "
             "('01', 'gz01', '基本工资', '', '否', 0, '', '收入'), ('01', 'gz02', '养老', '', '否', 0, '', '养老保险'), "
             "('01', 'gz03', '个税', '', '是', 5000, '基本工资', '个税')");
        exec("insert into 员工基本情况 (员工编号, 姓名, 入职日期) values ('E1', '甲', '2020-04-01'), ('E2', '乙', '2020-01-01')");
        exec("insert into 工资表 (员工编号, 姓名, 年, 月, 工资帐套, 结帐状态, gz01, gz02) values "
             "('E1', '甲', '2026', '01', '管理', '否', 10000, 800), ('E1', '甲', '2026', '02', '管理', '否', 12000, 960), "
             "('E2', '乙', '2026', '01', '管理', '否', 50000, 0)");
    }
    void exec(const std::string& sql) { conn.exec(sql); }

    test::TemporaryDatabase db{engine(), test::Contents::NewOffice};
    db::Connection& conn = db.conn();
};

TEST_P(TaxRegisterTest, MonthsWithTheirCumulativeFigures)
{
    const auto lines = payroll::taxRegister(conn, "E1", 2026);
    ASSERT_EQ(lines.size(), 2u);
    // January: 10,000 − 5,000 − 800 = 4,200 at 3% = 126.
    EXPECT_EQ(lines[0].month, 1);
    EXPECT_EQ(lines[0].taxable, y(4200));
    EXPECT_EQ(lines[0].tax, y(126));
    // February: 22,000 − 10,000 − 1,760 = 10,240 at 3% = 307.20, less the 126 withheld = 181.20.
    EXPECT_EQ(lines[1].cumulativeIncome, y(22000));
    EXPECT_EQ(lines[1].basicDeduction, y(10000));
    EXPECT_EQ(lines[1].cumulativeSpecial, y(1760));
    EXPECT_EQ(lines[1].taxable, y(10240));
    EXPECT_EQ(lines[1].percent, 3);
    EXPECT_EQ(lines[1].withheld, y(126));
    EXPECT_EQ(lines[1].tax, fen(18120));

    // The workbook and the print read the same columns.
    test::TempDir dir;
    payroll::writeTaxRegister(dir.file("台账.xlsx"), "甲2026年", lines);
    auto file = exchange::openSourceFile(dir.file("台账.xlsx"));
    const exchange::SourceTable t = file->read("甲2026年");
    payroll::TaxRegisterSource source(lines);
    EXPECT_EQ(t.columns, source.titles());
    ASSERT_EQ(t.rows.size(), 2u);
    const int taxable = source.fieldOf("累计应纳税所得额");
    EXPECT_DOUBLE_EQ(t.rows[1][static_cast<size_t>(taxable)].toDouble(), 10240);
    EXPECT_EQ(source.text(1, source.fieldOf("本期税额")), "181.20");
    EXPECT_EQ(source.text(1, source.fieldOf("税率")), "3%");
}

}  // namespace

RSGZ_ON_BOTH_ENGINES(TaxRegisterTest);
