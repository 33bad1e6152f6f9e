// The wage-tax windows as their user works them: rows typed into the grids, refusals read off the
// notices, the scheme and the bases.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include "app/TDM.h"
#include "payroll/TaxLaw.h"
#include "payroll/windows/Tgskcw.h"
#include "payroll/windows/Tgstzw.h"
#include "payroll/windows/Tjffaw.h"
#include "payroll/windows/Tjfjsw.h"
#include "payroll/windows/Tkjsbw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "ui/Screenshot.h"
#include "print/windows/TablePreviewWindow.h"
#include "payroll/windows/TaxListPanel.h"
#include "exchange/SourceFile.h"
#include "support/TempDir.h"

namespace {

using namespace rsgz;

// Types as a keyboard with an input method does: one key event for each character, Chinese ones too.
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Double-clicks a cell of the grid, types over what it holds and leaves it with Enter.
void typeCell(QTableView* grid, int row, int column, const QString& text)
{
    const QRect r = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, r.center());
    QWidget* editor = QApplication::focusWidget();
    ASSERT_NE(editor, grid) << "no editor opened at column " << column;
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    typeText(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

int columnOf(QTableView* grid, const QString& title)
{
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (grid->model()->headerData(c, Qt::Horizontal).toString() == title) return c;
    ADD_FAILURE() << "no column " << title.toStdString();
    return 0;
}

class TaxWindowsTest : public ::testing::Test {
protected:
    TaxWindowsTest()
    {
        exec("insert into 员工基本情况 (员工编号, 姓名, 性别) values ('E01', '张三', '男'), ('E02', '李四', '女')");
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
    }
    void exec(const std::string& sql) { dm.DMADO.exec(sql); }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};

// 李四 declares housing-loan interest: 1,200 a month is refused naming the category and its
// standard, 1,000 is stored; her rent in the same months is refused as well.
TEST_F(TaxWindowsTest, DeclaredDeductionAboveItsStandardIsRefusedNamingTheCategory)
{
    payroll::Tgskcw w(dm, "E02");
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("employee"))->text(), QStringLiteral("员工：E02 李四"));
    QWidget* page = w.pages()->widget(0);
    auto* grid = page->findChild<QTableView*>(QStringLiteral("grid"));
    auto click = [page](const char* button) {
        QTest::mouseClick(page->findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
    };

    click("添加");
    typeCell(grid, 0, columnOf(grid, QStringLiteral("扣除类别")), QStringLiteral("住房贷款利息"));
    typeCell(grid, 0, columnOf(grid, QStringLiteral("起始年月")), QStringLiteral("2026-01"));
    typeCell(grid, 0, columnOf(grid, QStringLiteral("每月金额")), QStringLiteral("1200"));
    click("保存");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "“住房贷款利息”每月扣除金额 1,200.00 元超过标准 1,000.00 元！");
    EXPECT_EQ(p.count("专项附加扣除"), 0);

    typeCell(grid, 0, columnOf(grid, QStringLiteral("每月金额")), QStringLiteral("1000"));
    click("保存");
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(p.count("专项附加扣除 where 员工编号1='E02' and 扣除类别='住房贷款利息' and 每月金额=1000"), 1);

    click("添加");
    typeCell(grid, 1, columnOf(grid, QStringLiteral("扣除类别")), QStringLiteral("住房租金"));
    typeCell(grid, 1, columnOf(grid, QStringLiteral("扣除方式")), QStringLiteral("市辖区户籍人口不超过100万的城市"));
    typeCell(grid, 1, columnOf(grid, QStringLiteral("起始年月")), QStringLiteral("2026-06"));
    typeCell(grid, 1, columnOf(grid, QStringLiteral("每月金额")), QStringLiteral("800"));
    click("保存");
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(ui.messages[1].find("“住房租金”和“住房贷款利息”不能在同一月份同时扣除"), std::string::npos) << ui.messages[1];
    test::screenshot(&w, "tax-deductions.png");

    // Choosing 张三 while the refused row is still typed keeps the window on 李四.
    auto* people = w.findChild<QTableView*>(QStringLiteral("employees"));
    QTest::mouseClick(people->viewport(), Qt::LeftButton, {}, people->visualRect(people->model()->index(0, 1)).center());
    EXPECT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("employee"))->text(), QStringLiteral("员工：E02 李四"));
    EXPECT_EQ(w.deductions().employee(), "E02");
    EXPECT_EQ(people->currentIndex().row(), 1);

    // The other page lists the employee's other deductions; 张三 has none of 李四's.
    w.pages()->setCurrentIndex(1);
    EXPECT_EQ(w.others().dataSet().recordCount(), 0);
}

// Without 工资表管理 the deductions are shown but not written: the buttons are off, and the list
// refuses an append whoever asks for it.
TEST_F(TaxWindowsTest, DeductionsNeedThePayrollRight)
{
    exec("insert into 权限 (姓名, 密码) values ('只读', 'x')");
    exec("update 权限 set 工资表管理=0 where 姓名='只读'");
    p.logIn("只读");
    payroll::Tgskcw w(dm, "E01");
    w.show();
    for (const char* b : {"添加", "删除", "保存"})
        EXPECT_FALSE(w.pages()->widget(0)->findChild<QPushButton*>(QString::fromUtf8(b))->isEnabled()) << b;
    w.deductions().add();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("工资表管理"), std::string::npos) << ui.messages[0];
    EXPECT_FALSE(w.deductions().dataSet().isEditing());
}

// The scheme of a city as an office keeps it: the employee's and the employer's rates of each kind,
// the bounds of the base and the rounding; a floor above the ceiling is refused.
TEST_F(TaxWindowsTest, SchemeRowsAreTypedAndAFloorAboveTheCeilingRefused)
{
    exec("insert into 缴费方案 (方案名称, 险种, 个人比例, 单位比例, 个人附加额, 单位附加额, 基数下限, 基数上限, 舍入单位, 舍入方式, 起始年月) values "
         "('本市2026', '养老保险', 8, 16, 0, 0, 4462, 22311, '分', '四舍五入', '2026-01'), "
         "('本市2026', '医疗保险', 2, 9, 3, 0, 4462, 22311, '分', '四舍五入', '2026-01'), "
         "('本市2026', '失业保险', 0.5, 0.5, 0, 0, 4462, 22311, '分', '四舍五入', '2026-01'), "
         "('本市2026', '工伤保险', 0, 0.4, 0, 0, 4462, 22311, '分', '四舍五入', '2026-01'), "
         "('本市2026', '生育保险', 0, 0.8, 0, 0, 4462, 22311, '分', '四舍五入', '2026-01')");
    payroll::Tjffaw w(dm);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* grid = w.findChild<QTableView*>(QStringLiteral("grid"));
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("添加")), Qt::LeftButton);
    const int row = grid->model()->rowCount() - 1;
    typeCell(grid, row, columnOf(grid, QStringLiteral("方案名称")), QStringLiteral("本市2026"));
    typeCell(grid, row, columnOf(grid, QStringLiteral("险种")), QStringLiteral("住房公积金"));
    typeCell(grid, row, columnOf(grid, QStringLiteral("个人比例(%)")), QStringLiteral("12"));
    typeCell(grid, row, columnOf(grid, QStringLiteral("单位比例(%)")), QStringLiteral("12"));
    typeCell(grid, row, columnOf(grid, QStringLiteral("基数下限")), QStringLiteral("40000"));
    typeCell(grid, row, columnOf(grid, QStringLiteral("基数上限")), QStringLiteral("35283"));
    typeCell(grid, row, columnOf(grid, QStringLiteral("起始年月")), QStringLiteral("2026-07"));
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("保存")), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "“住房公积金”的基数下限高于基数上限！");

    typeCell(grid, row, columnOf(grid, QStringLiteral("基数下限")), QStringLiteral("2690"));
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("保存")), Qt::LeftButton);
    EXPECT_EQ(p.count("缴费方案 where 险种='住房公积金' and 基数下限=2690 and 舍入单位='分' and 舍入方式='四舍五入'"), 1);
    test::screenshot(&w, "tax-scheme.png");
}

// The register of 张三's first two months: shown, printed through the table print, written out.
TEST_F(TaxWindowsTest, RegisterShowsPrintsAndExportsTheYear)
{
    payroll::tax::setTaxMethod(dm.DMADO, "管理", payroll::tax::TaxMethod::Cumulative);
    exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联, 项目类别) values "
         "('01', 'gz01', '基本工资', '', '否', 0, '', '收入'), ('01', 'gz02', '养老', '', '否', 0, '', '养老保险'), "
         "('01', 'gz03', '个税', '', '是', 5000, '基本工资', '个税')");
    exec("insert into 工资表 (员工编号, 姓名, 年, 月, 工资帐套, 结帐状态, gz01, gz02) values "
         "('E01', '张三', '2026', '01', '管理', '否', 10000, 800), ('E01', '张三', '2026', '02', '管理', '否', 12000, 960)");
    dm.now = [] { return QDateTime(QDate(2026, 3, 5), QTime(9, 0)); };
    payroll::Tgstzw w(dm, "E01");
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* grid = w.findChild<QTableWidget*>(QStringLiteral("register"));
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(1, columnOf(grid, QStringLiteral("本期税额")))->text(), QStringLiteral("181.20"));
    test::screenshot(&w, "tax-register.png");

    QString previewTitle;
    QTimer::singleShot(0, [&] {
        if (auto* preview = qobject_cast<print::TablePreviewWindow*>(QApplication::activeModalWidget())) {
            previewTitle = preview->windowTitle();
            preview->reject();
        }
    });
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("打印")), Qt::LeftButton);
    EXPECT_FALSE(previewTitle.isEmpty());

    test::TempDir out;
    ui.fileNames.push_back(out.file("台账"));
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("导出EXCEL")), Qt::LeftButton);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_NE(ui.messages.back().find("共 2 条记录"), std::string::npos) << ui.messages.back();
    const exchange::SourceTable t = exchange::openSourceFile(out.file("台账.xlsx"))->read("个税台账");
    EXPECT_EQ(t.rows.size(), 2u);
}

// The bases of 2026: a row typed by employee number shows the name once stored; the same employee
// twice in a year is refused.
TEST_F(TaxWindowsTest, BasesAreTypedByEmployeeNumberOncePerYear)
{
    dm.now = [] { return QDateTime(QDate(2026, 3, 5), QTime(9, 0)); };
    payroll::Tjfjsw w(dm);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* grid = w.findChild<QTableView*>(QStringLiteral("grid"));
    auto save = [&w] { QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("保存")), Qt::LeftButton); };
    for (int row : {0, 1}) {
        QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("添加")), Qt::LeftButton);
        typeCell(grid, row, columnOf(grid, QStringLiteral("员工编号")), QStringLiteral("E01"));
        typeCell(grid, row, columnOf(grid, QStringLiteral("社保基数")), QStringLiteral("8000"));
        typeCell(grid, row, columnOf(grid, QStringLiteral("公积金基数")), QStringLiteral("9000"));
        save();
    }
    EXPECT_EQ(ui.messages, std::vector<std::string>{"员工“E01”2026年的缴费基数已经录入过了！"});
    EXPECT_EQ(p.count("缴费基数 where 员工编号1='E01' and 年度=2026 and 社保基数=8000 and 公积金基数=9000"), 1);
    EXPECT_EQ(grid->model()->index(0, columnOf(grid, QStringLiteral("姓名"))).data().toString(), QStringLiteral("张三"));
}

// 扣缴申报 of March: 张三 has no 身份证号, so the notice names him and no file is asked for.
TEST_F(TaxWindowsTest, DeclarationWindowNamesWhoCannotBeDeclared)
{
    exec("update 员工基本情况 set 身份证号='320106198503020025' where 员工编号='E02'");
    exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 项目类别) values "
         "('01', 'gz01', '基本工资', '', '否', '收入')");
    exec("insert into 工资表 (员工编号, 姓名, 年, 月, 工资帐套, 结帐状态, gz01) values "
         "('E01', '张三', '2026', '03', '管理', '否', 9000), ('E02', '李四', '2026', '03', '管理', '否', 8000)");
    dm.now = [] { return QDateTime(QDate(2026, 4, 2), QTime(9, 0)); };
    payroll::Tkjsbw w(dm);
    w.show();
    auto* month = w.findChild<QSpinBox*>(QStringLiteral("month"));
    month->selectAll();
    QTest::keyClicks(month, QStringLiteral("3"));
    QTest::mouseClick(w.findChild<QPushButton*>(QStringLiteral("生成申报表")), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("以下1名员工"), std::string::npos) << ui.messages[0];
    EXPECT_NE(ui.messages[0].find("E01 张三：没有身份证号"), std::string::npos) << ui.messages[0];
    EXPECT_TRUE(ui.fileFilters.empty());
}

}  // namespace
