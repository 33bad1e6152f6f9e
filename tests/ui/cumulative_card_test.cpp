// The salary card of a set that withholds cumulatively shows the row's year-to-date figures and
// follows the row it shows; a set taxed by the month table shows none.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/TDM.h"
#include "payroll/SalaryView.h"
#include "payroll/TaxLaw.h"
#include "payroll/windows/Tgzeditw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;

void saveShot(QWidget* w, const char* name)
{
    const QString dir = qEnvironmentVariable("RSGZ_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w->grab().save(dir + "/" + QString::fromUtf8(name) + ".png");
}

// Set 管理: 基本工资 (收入), 养老 (养老保险), 个税, 实发. 张三 has declared a child (2000 a month);
// 李四 was hired in February. January of 张三 is closed with 330 withheld.
class CumulativeCardTest : public ::testing::Test {
protected:
    CumulativeCardTest()
    {
        QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
        p.logIn("admin");
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理'), ('02', '旧帐套')");
        payroll::tax::setTaxMethod(dm.DMADO, "管理", payroll::tax::TaxMethod::Cumulative);
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联, 项目类别) values "
             "('01', 'gz01', '基本工资', '', '否', 0, '', '收入'), ('01', 'gz02', '养老', '', '否', 0, '', '养老保险'), "
             "('01', 'gz03', '个税', '', '是', 5000, '基本工资', '个税'), "
             "('01', 'gz04', '实发', 'gz01-gz02-gz03', '否', 0, '', '实发'), "
             "('02', 'gz01', '工资', '', '否', 0, '', null), ('02', 'gz02', '个税', '', '是', 1600, '工资', null)");
        exec("insert into 员工基本情况 (员工编号, 姓名, 入职日期) values ('E01', '张三', '2018-05-01'), "
             "('E02', '李四', '2026-02-01')");
        exec("insert into 专项附加扣除 (员工编号1, 扣除类别, 子女人数, 起始年月, 每月金额) values ('E01', '子女教育', 1, '2025-09', 2000)");
        exec("insert into 工资表 (员工编号, 姓名, 年, 月, 工资帐套, 结帐状态, gz01, gz02, gz03) values "
             "('E01', '张三', '2026', '01', '管理', '是', 20000, 2000, 330), "
             "('E01', '张三', '2026', '02', '管理', '否', 20000, 2000, 0), "
             "('E02', '李四', '2026', '02', '管理', '否', 12000, 0, 0), "
             "('E01', '张三', '2026', '02', '旧帐套', '否', 2000, 0, 0)");
    }
    void exec(const std::string& sql) { dm.DMADO.exec(sql); }
    QString line(QWidget& card, const char* caption)
    {
        auto* l = card.findChild<QLabel*>(QString::fromUtf8(caption));
        return l ? l->text() : QStringLiteral("<none>");
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};

TEST_F(CumulativeCardTest, TheCardShowsTheRowsYearToDate)
{
    payroll::SalaryView view(dm.DMADO, dm.gzb);
    view.build("管理");
    view.filter().nodes = {{"月", "02"}, {"年", "2026"}};
    view.filter().sortField = "员工编号";
    view.open();
    payroll::Tgzeditw card(dm, view);
    card.show();
    ASSERT_TRUE(card.findChild<QGroupBox*>(QStringLiteral("cumulative"))->isVisible());
    // 张三 in February: 40000 − 2 × 5000 − 2 × 2000 − 2 × 2000 = 22000 → 660, less January's 330.
    EXPECT_EQ(line(card, "累计收入"), QStringLiteral("40000.00"));
    EXPECT_EQ(line(card, "累计减除费用"), QStringLiteral("10000.00"));
    EXPECT_EQ(line(card, "累计专项扣除"), QStringLiteral("4000.00"));
    EXPECT_EQ(line(card, "累计专项附加扣除"), QStringLiteral("4000.00"));
    EXPECT_EQ(line(card, "累计应纳税所得额"), QStringLiteral("22000.00"));
    EXPECT_EQ(line(card, "税率"), QStringLiteral("3%"));
    EXPECT_EQ(line(card, "累计已缴税额"), QStringLiteral("330.00"));
    EXPECT_EQ(line(card, "本期税额"), QStringLiteral("330.00"));
    EXPECT_EQ(card.findChild<QLineEdit*>(QStringLiteral("gz03"))->text(), QStringLiteral("330.00"));
    EXPECT_EQ(card.findChild<QLineEdit*>(QStringLiteral("gz04"))->text(), QStringLiteral("17670.00"));
    saveShot(&card, "salary-card-cumulative");

    // 李四, hired in February: 12000 − 5000 = 7000 → 210, nothing withheld before.
    card.findChild<QPushButton*>(QStringLiteral("next"))->click();
    EXPECT_EQ(card.findChild<QLineEdit*>(QStringLiteral("姓名"))->text(), QStringLiteral("李四"));
    EXPECT_EQ(line(card, "累计减除费用"), QStringLiteral("5000.00"));
    EXPECT_EQ(line(card, "累计应纳税所得额"), QStringLiteral("7000.00"));
    EXPECT_EQ(line(card, "累计已缴税额"), QStringLiteral("0.00"));
    EXPECT_EQ(line(card, "本期税额"), QStringLiteral("210.00"));
}

TEST_F(CumulativeCardTest, ASetTaxedByTheMonthTableShowsNoYearToDate)
{
    payroll::SalaryView view(dm.DMADO, dm.gzb);
    view.build("旧帐套");
    view.open();
    payroll::Tgzeditw card(dm, view);
    card.show();
    EXPECT_FALSE(card.findChild<QGroupBox*>(QStringLiteral("cumulative"))->isVisible());
}

}  // namespace
