// The payroll setup windows as a user meets them. With RSGZ_SCREENSHOT_DIR set, each test also
// saves what it shows there as a picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "app/TDM.h"
#include "shell/Tmain.h"
#include "payroll/windows/Tgzxmdw.h"
#include "payroll/windows/Tgzxmw.h"
#include "payroll/windows/Tnew_gzbw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "shell/NavigationBar.h"
#include "widgets/Tjdtsw.h"

namespace {

using namespace rsgz;

void saveShot(const std::vector<QWidget*>& widgets, const char* name)
{
    const QString dir = qEnvironmentVariable("RSGZ_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    std::vector<QPixmap> shots;
    int width = 0, height = 0;
    for (QWidget* w : widgets) {
        shots.push_back(w->grab());
        width += shots.back().width() + 12;
        height = std::max(height, shots.back().height());
    }
    QPixmap all(width - 12, height);
    all.fill(QColor(0xdd, 0xe3, 0xea));
    QPainter painter(&all);
    int x = 0;
    for (const QPixmap& s : shots) painter.drawPixmap(x, 0, s), x += s.width() + 12;
    painter.end();
    all.save(dir + "/" + QString::fromUtf8(name) + ".png");
}

class PayrollWindowsTest : public ::testing::Test {
protected:
    PayrollWindowsTest()
    {
        QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
        p.logIn("admin");
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理人员'), ('02', '生产人员')");
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 初始值, 是否所得税, 个税关联, 计算公式) values "
             "('01', 'gz01', '基本工资', 1800, '否', '', ''), ('01', 'gz02', '岗位工资', 600, '否', '', ''), "
             "('01', 'gz03', '应发合计', 0, '否', '', 'gz01+gz02'), ('01', 'gz04', '个人所得税', 0, '是', '应发合计', ''), "
             "('01', 'gz05', '实发工资', 0, '否', '', 'gz03-gz04'), ('02', 'gz01', '计件工资', 0, '否', '', '')");
        exec("insert into 员工基本情况 (员工编号, 姓名, 工资等级, 工资帐套名称, 工资核算, 一级部门) values "
             "('E01', '张三', '一级', '管理人员', '是', '财务部'), ('E02', '李四', '二级', '管理人员', '是', '办公室'), "
             "('E03', '王五', '一级', '生产人员', '是', '装配车间')");
        exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 500, 5, 0), (500, 2000, 10, 25), "
             "(2000, 5000, 15, 125)");
    }
    void exec(const std::string& sql) { dm.DMADO.exec(sql); }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};

TEST_F(PayrollWindowsTest, SetPanelShowsTheItemsOfTheSetClicked)
{
    shell::Tmain w(p.frame(), false);
    w.resize(1280, 640);
    w.navigationBar()->setOpenGroup(1);
    w.navigationBar()->button(QStringLiteral("工资帐套管理"))->click();
    ASSERT_EQ(w.workAreaWidget(), w.panel(9));
    auto* sets = w.panel(9)->findChild<QTableView*>(QStringLiteral("setGrid"));
    auto* items = w.panel(9)->findChild<QTableView*>(QStringLiteral("itemGrid"));
    EXPECT_EQ(sets->model()->rowCount(), 2);
    EXPECT_EQ(items->model()->rowCount(), 5);
    EXPECT_TRUE(w.panel(9)->findChild<QPushButton*>(QStringLiteral("增加项目"))->isEnabled());
    w.show();
    saveShot({&w}, "module9-sets-and-items");

    // Moving by key changes nothing below; a click brings the clicked set's items.
    sets->setCurrentIndex(sets->model()->index(1, 1));
    EXPECT_EQ(items->model()->rowCount(), 5);
    QTest::mouseClick(sets->viewport(), Qt::LeftButton, {}, sets->visualRect(sets->model()->index(1, 1)).center());
    EXPECT_EQ(items->model()->rowCount(), 1);
}

TEST_F(PayrollWindowsTest, AssignmentPageAsksOnlyWhenASetIsPicked)
{
    shell::Tmain w(p.frame(), false);
    w.navigationBar()->setOpenGroup(1);
    w.navigationBar()->button(QStringLiteral("人员帐套设置"))->click();
    auto* box = w.panel(10)->findChild<QComboBox*>(QStringLiteral("assignSetBox"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->count(), 2);
    EXPECT_EQ(box->currentIndex(), -1);  // nothing chosen, nothing assigned
    EXPECT_TRUE(ui.questions.empty());

    ui.answer(true);
    emit box->activated(1);
    EXPECT_EQ(ui.questions, std::vector<std::string>{"将 3 名员工设为帐套 生产人员?"});
    EXPECT_EQ(dm.DMADO.exec("update 员工基本情况 set 备注='' where 工资帐套名称='生产人员'"), 3);
    EXPECT_EQ(box->currentIndex(), -1);
}

TEST_F(PayrollWindowsTest, ItemWindowRefusesAFormulaAndSaysWhere)
{
    dm.gz_zt.open();
    dm.zt_mx.setSql({"select * from 工资帐套明细", "where 帐套编号1='01'", "order by 工资代码"});
    dm.zt_mx.open();
    dm.zt_mx.moveToRow(2);
    payroll::Tgzxmw w(dm);
    w.show();
    auto* formula = w.findChild<QLineEdit*>(QStringLiteral("计算公式"));
    EXPECT_EQ(formula->text(), QStringLiteral("gz01+gz02"));
    EXPECT_TRUE(w.findChild<QLineEdit*>(QStringLiteral("个税起征点"))->isReadOnly());
    formula->selectAll();
    QTest::keyClicks(formula, QStringLiteral("gz01+gz02*(gz01/22;"));
    w.findChild<QPushButton*>(QStringLiteral("验证公式"))->click();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "计算公式有误，第 19 个字符处：公式中不能有字符“;”");
    widgets::Tjdtsw notice(QString::fromStdString(ui.messages[0]));
    notice.show();
    saveShot({&w, &notice}, "item-window-refused-formula");
    // Nothing was stored.
    EXPECT_EQ(dm.DMADO.exec("update 工资帐套明细 set 打印='' where 计算公式='gz01+gz02'"), 1);

    dm.zt_mx.cancel();
}

// 初始值 and 个税起征点 take a typed decimal point key by key; a half-typed number is no error.
TEST_F(PayrollWindowsTest, ItemWindowTakesTypedDecimals)
{
    dm.gz_zt.open();
    dm.zt_mx.setSql({"select * from 工资帐套明细", "where 帐套编号1='01'", "order by 工资代码"});
    dm.zt_mx.open();
    dm.zt_mx.moveToRow(3);  // 个人所得税: its threshold may be typed
    payroll::Tgzxmw w(dm);
    w.show();
    for (const char* name : {"初始值", "个税起征点"}) {
        auto* box = w.findChild<QLineEdit*>(QString::fromUtf8(name));
        ASSERT_NE(box, nullptr);
        ASSERT_FALSE(box->isReadOnly()) << name;
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, QStringLiteral("1600.25"));
        EXPECT_EQ(box->text(), QStringLiteral("1600.25"));
        EXPECT_EQ(dm.zt_mx.value(name).toMoney().toString(2), "1600.25") << name;
    }
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
    dm.zt_mx.cancel();
}

TEST_F(PayrollWindowsTest, BracketWindowListsTheBrackets)
{
    payroll::Tsdsw w(dm);
    w.show();
    auto* grid = w.findChild<QTableView*>(QStringLiteral("bracketGrid"));
    EXPECT_EQ(grid->model()->rowCount(), 3);
    saveShot({&w}, "tax-bracket-window");
    w.findChild<QPushButton*>(QStringLiteral("添加"))->click();
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(dm.sds_set.asString("税率"), "0");
}

TEST_F(PayrollWindowsTest, GenerationWindowGeneratesAMonth)
{
    dm.now = [] { return QDateTime(QDate(2024, 3, 5), QTime(9, 0)); };
    payroll::Tnew_gzbw w(dm);
    w.show();
    auto* set = w.findChild<QComboBox*>(QStringLiteral("setBox"));
    EXPECT_FALSE(set->isEditable());  // a set is picked, never typed
    EXPECT_EQ(set->currentText(), QStringLiteral("管理人员"));
    w.findChild<QComboBox*>(QStringLiteral("modeBox"))->setCurrentIndex(1);
    w.findChild<QPushButton*>(QStringLiteral("生成工资表"))->click();
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("progressText"))->text(), QStringLiteral("已经完成 100 %"));
    EXPECT_EQ(dm.gzb.recordCount(), 2);
    EXPECT_EQ(dm.gzb.asString("月"), "03");
    EXPECT_TRUE(ui.messages.empty());
    saveShot({&w}, "generation-window-after-generating");
}

}  // namespace
