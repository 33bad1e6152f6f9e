// The salary page of a set that withholds cumulatively says once, when it reads a month, which
// earlier months are still open.
#include <gtest/gtest.h>

#include "payroll/SalaryPageForm.h"
#include "payroll/TaxLaw.h"
#include "query/QueryFixture.h"

using namespace rsgz;

namespace {

class CumulativePageTest : public test::QueryFixture {
protected:
    CumulativePageTest()
    {
        program.logIn("admin");
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
        payroll::tax::setTaxMethod(dm.DMADO, "管理", payroll::tax::TaxMethod::Cumulative);
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税关联, 项目类别) values "
             "('01', 'gz01', '基本', '', '否', '', '收入'), ('01', 'gz02', '个税', '', '是', '基本', '个税')");
        exec("insert into 工资表 (姓名, 员工编号, 工资帐套, 年, 月, 结帐状态, gz01) values "
             "('甲', 'E1', '管理', '2026', '01', '否', 10000), ('甲', 'E1', '管理', '2026', '02', '否', 10000)");
        writeLines("set/gzb_Search.List", {"工资帐套", "年", "月"});
        form.attachQueries(pages.trees(), pages.settings());
        form.opened();
    }
    void exec(const std::string& sql) { dm.DMADO.exec(sql); }

    payroll::SalaryPageForm form{dm};
};
RSGZ_ON_BOTH_ENGINES(CumulativePageTest);

TEST_P(CumulativePageTest, AMonthAfterAnOpenOneSaysSo)
{
    // The whole set: both months are shown, nothing to say.
    EXPECT_TRUE(user.messages.empty()) << user.messages.front();
    user.clear();
    form.clickNode(3);  // 管理 > 2026 > 02
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0], "以下月份尚未结帐，累计预扣按其当前计算值计入：2026年01月（帐套“管理”）");
    // February after an open January: 20000 − 10000 = 10000 → 300 − 150.
    EXPECT_EQ(form.view().taxOf(dm.gzb.asInt("编号")), db::Money::fromUnits(150 * db::Money::kScale));
}

}  // namespace
