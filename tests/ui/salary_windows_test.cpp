// The salary table page, the salary card and the two work lists as a user meets them. With
// RSGZ_SCREENSHOT_DIR set, each test also saves what it shows there as a picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>

#include "app/TDM.h"
#include "app/Tmain.h"
#include "payroll/MonthTable.h"
#include "payroll/SalaryView.h"
#include "payroll/Tgzeditw.h"
#include "payroll/TWorkListWindow.h"
#include "query/GridLayout.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "ui/ModulePanel.h"
#include "ui/NavigationBar.h"

namespace {

using namespace rsgz;

void saveShot(QWidget* w, const char* name)
{
    const QString dir = qEnvironmentVariable("RSGZ_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w->grab().save(dir + "/" + QString::fromUtf8(name) + ".png");
}

QStringList columnTexts(QTableView* grid, const QString& title)
{
    QAbstractItemModel* m = grid->model();
    int column = -1;
    for (int c = 0; c < m->columnCount(); ++c)
        if (m->headerData(c, Qt::Horizontal).toString() == title) column = c;
    QStringList out;
    for (int r = 0; column >= 0 && r < m->rowCount(); ++r) out << m->index(r, column).data().toString();
    return out;
}

class SalaryWindowsTest : public ::testing::Test {
protected:
    // Set 管理人员: 基本工资 and 岗位工资 entered, 应发合计 their sum, 个人所得税 on 应发合计 above 1600,
    // 实发工资 = 应发合计 - 个人所得税. March 2024 generated for four employees.
    SalaryWindowsTest()
    {
        QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
        p.logIn("admin");
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理人员')");
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 初始值, 是否所得税, 个税起征点, 个税关联, 计算公式) values "
             "('01', 'gz01', '基本工资', 1800, '否', 0, '', ''), ('01', 'gz02', '岗位工资', 600, '否', 0, '', ''), "
             "('01', 'gz03', '应发合计', 0, '否', 0, '', 'gz01+gz02'), "
             "('01', 'gz04', '个人所得税', 0, '是', 1600, '应发合计', ''), "
             "('01', 'gz05', '实发工资', 0, '否', 0, '', 'gz03-gz04')");
        exec("insert into 员工基本情况 (员工编号, 姓名, 工资等级, 工资帐套名称, 工资核算, 一级部门) values "
             "('E01', '张三', '一级', '管理人员', '是', '财务部'), ('E02', '李四', '二级', '管理人员', '是', '办公室'), "
             "('E03', '王五', '一级', '管理人员', '是', '销售部'), ('E04', '赵六', '三级', '管理人员', '是', '销售部')");
        exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 500, 5, 0), (500, 2000, 10, 25), "
             "(2000, 5000, 15, 125)");
        payroll::MonthTable(dm.DMADO).generateFromSet(payroll::Period::of("管理人员", 2024, 3));
        exec("update 工资表 set gz01=gz01+500 where 员工编号='E02'");
        exec("update 工资表 set gz01=gz01+2500 where 员工编号='E03'");
    }
    void exec(const std::string& sql) { dm.DMADO.exec(sql); }
    ui::ModulePanel* choose(app::Tmain& w, const char* button, int module)
    {
        w.resize(1280, 600);
        w.navigationBar()->setOpenGroup(1);
        w.navigationBar()->button(QString::fromUtf8(button))->click();
        return qobject_cast<ui::ModulePanel*>(w.panel(module));
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};

// Item names as titles, the tax and the net pay of each row; the tree narrows to a month and the
// sort bar orders by the displayed net pay.
TEST_F(SalaryWindowsTest, SalaryPageShowsItemNamesTaxAndNetPay)
{
    app::Tmain w(p.frame(), false);
    ui::ModulePanel* panel = choose(w, "工资表管理", 11);
    ASSERT_NE(panel, nullptr);
    QTableView* grid = panel->grid();
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(columnTexts(grid, QStringLiteral("姓名")), (QStringList{"张三", "李四", "王五", "赵六"}));
    // 2400 is 800 above 1600: 55; 2900 is 1300 above: 105; 4900 is 3300 above: 370.
    EXPECT_EQ(columnTexts(grid, QStringLiteral("个人所得税")), (QStringList{"55.00", "105.00", "370.00", "55.00"}));
    EXPECT_EQ(columnTexts(grid, QStringLiteral("实发工资")), (QStringList{"2345.00", "2795.00", "4530.00", "2345.00"}));

    // The sort box offers the net pay and orders by what the grid shows; the search box does not.
    QComboBox* sort = panel->sortField();
    EXPECT_GE(sort->findText(QStringLiteral("gz05")), 0);
    EXPECT_LT(panel->searchField()->findText(QStringLiteral("gz05")), 0);
    panel->sortOrder()->setCurrentText(QStringLiteral("降序"));
    sort->setCurrentIndex(sort->findText(QStringLiteral("gz05")));
    emit sort->activated(sort->currentIndex());
    EXPECT_EQ(columnTexts(grid, QStringLiteral("实发工资")).front(), QStringLiteral("4530.00"));
    EXPECT_EQ(columnTexts(grid, QStringLiteral("姓名")).front(), QStringLiteral("王五"));
    w.show();
    saveShot(&w, "module11-salary-table");
}

// The card decides per row: amounts of an open row may be typed, those of a closed row may not.
TEST_F(SalaryWindowsTest, CardFollowsTheRowItShows)
{
    payroll::SalaryView view(dm.DMADO, dm.gzb);
    view.build("管理人员");
    view.filter().searchField = "员工编号";
    view.filter().searchText = "E02";
    view.closeRows();  // 李四 closed with the values shown
    view.filter() = {"管理人员", {}, "", "", "员工编号", false};
    view.open();
    payroll::Tgzeditw card(dm, view);
    card.show();
    auto* basic = card.findChild<QLineEdit*>(QStringLiteral("gz01"));
    auto* net = card.findChild<QLineEdit*>(QStringLiteral("gz05"));
    ASSERT_TRUE(basic && net);
    EXPECT_FALSE(basic->isReadOnly());
    EXPECT_TRUE(net->isReadOnly());
    EXPECT_EQ(net->text(), QStringLiteral("2345.00"));
    saveShot(&card, "salary-card-open-row");

    card.findChild<QPushButton*>(QStringLiteral("next"))->click();
    EXPECT_EQ(card.findChild<QLineEdit*>(QStringLiteral("姓名"))->text(), QStringLiteral("李四"));
    EXPECT_TRUE(basic->isReadOnly());
    EXPECT_EQ(net->text(), QStringLiteral("2795.00"));
    EXPECT_FALSE(card.findChild<QPushButton*>(QStringLiteral("delete"))->isEnabled());
    saveShot(&card, "salary-card-closed-row");
}

// The two work lists: their amounts in the grid, a sort and a quick search of their own, and the
// edit window a double-click opens.
TEST_F(SalaryWindowsTest, WorkListsShowAmountsSortAndSearch)
{
    exec("insert into 计件工资 (日期, 生产单号, 姓名, 员工编号1, 产品编号, 产品名称, 工序, 工序单价, 完成数量) values "
         "('2024-03-04', 'SC-0301', '王五', 'E03', 'P-101', '齿轮箱', '精车', 1.2345, 2.5), "
         "('2024-03-04', 'SC-0301', '赵六', 'E04', 'P-101', '齿轮箱', '装配', 3.2, 120), "
         "('2024-03-05', 'SC-0302', '王五', 'E03', 'P-205', '传动轴', '磨削', 0.85, 300)");
    exec("insert into 计时工资 (日期, 生产单号, 产品编号, 产品名称, 姓名, 员工编号, 工种, 工序, 计时单位, 计时单价, 时间, "
         "加班单价, 加班时间, 奖金) values "
         "('2024-03-04', 'SC-0301', 'P-101', '齿轮箱', '王五', 'E03', '车工', '精车', '小时', 10, 8, 15, 2, 50), "
         "('2024-03-04', 'SC-0301', 'P-101', '齿轮箱', '赵六', 'E04', '钳工', '装配', '小时', 12, 8, 18, 0, null)");
    app::Tmain w(p.frame(), false);

    ui::ModulePanel* time = choose(w, "计时工资", 12);
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(columnTexts(time->grid(), QStringLiteral("应发工资")).size(), 2);
    EXPECT_EQ(time->sortField()->findText(QStringLiteral("金额")), -1);
    w.show();
    saveShot(&w, "module12-time-rate");

    ui::ModulePanel* piece = choose(w, "计件工资", 13);
    ASSERT_NE(piece, nullptr);
    QComboBox* sort = piece->sortField();
    piece->sortOrder()->setCurrentText(QStringLiteral("降序"));
    sort->setCurrentIndex(sort->findText(QStringLiteral("完成数量")));
    emit sort->activated(sort->currentIndex());
    EXPECT_EQ(columnTexts(piece->grid(), QStringLiteral("姓名")), (QStringList{"王五", "赵六", "王五"}));
    EXPECT_EQ(columnTexts(piece->grid(), QStringLiteral("金额")).back(), QStringLiteral("3.09"));  // 3.0862 shown "0.00"
    saveShot(&w, "module13-piece-rate");

    auto* searchField = piece->searchField();
    searchField->setCurrentIndex(searchField->findText(QStringLiteral("工序")));
    auto* text = piece->findChild<QLineEdit*>(QStringLiteral("searchText"));
    ASSERT_NE(text, nullptr);
    text->setText(QStringLiteral("装配"));
    emit text->returnPressed();
    EXPECT_EQ(columnTexts(piece->grid(), QStringLiteral("姓名")), QStringList{"赵六"});

    payroll::Tjjgzw window(dm);
    window.show();
    EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("姓名"))->text(), QStringLiteral("赵六"));
    EXPECT_TRUE(window.findChild<QLineEdit*>(QStringLiteral("金额"))->isReadOnly());
    saveShot(&window, "piece-rate-window");
}

}  // namespace
