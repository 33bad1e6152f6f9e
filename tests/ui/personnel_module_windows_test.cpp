#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "app/ModuleInfo.h"
#include "app/TDM.h"
#include "personnel/ArticleIssue.h"
#include "personnel/windows/Tddglw.h"
#include "personnel/windows/Tkpqk_editw.h"
#include "personnel/windows/Tpersonrecw.h"
#include "personnel/windows/Tpxglw.h"
#include "personnel/windows/Tunitw.h"
#include "personnel/windows/Twpffw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;

class PersonnelModuleWindowsTest : public ::testing::Test {
protected:
    PersonnelModuleWindowsTest()
    {
        exec("insert into 员工基本情况 (员工编号, 姓名, 职务, 一级部门, 二级部门) values "
             "('E01', '张三', '科员', '总部', '财务部'), ('E02', '李四', '科长', '分厂', '生产部'), "
             "('E03', '王芳', '会计', '总部', '财务部')");
        exec("insert into 部门分类 (一级部门, 二级部门) values ('总部', null), ('总部', '财务部'), ('分厂', '生产部')");
        exec("insert into 培训课程 (课程编号, 培训名称, 培训内容, 开始日期, 结束日期, 培训单位, 培训总费用) values "
             "('C01', '安全培训', '安全生产规程', '2024-03-01', '2024-03-03', '市安监局', 1200), "
             "('C02', '财务软件', '新版记账软件', '2024-04-10', '2024-04-12', '软件公司', 800)");
        exec("insert into 培训记录 (课程编号1, 员工编号1, 受培训人姓名, 培训结果, 培训费用) values "
             "('C02', 'E01', '张三', '合格', 0), ('C02', 'E03', '王芳', '优秀', 0), ('C01', 'E02', '李四', '合格', 0)");
        exec("insert into 调动记录 (员工编号1, 姓名, 调动类型, 调动日期, 调动前一级部门, 调动前二级部门, 调动后一级部门, "
             "调动后二级部门, 调动前职务, 调动后职务, 经办人, 批准人, 调动原因) values ('E02', '李四', '内部调动', "
             "'2024-05-06', '分厂', '生产部', '总部', '财务部', '科长', '会计', '张三', '王芳', '工作需要')");
        exec("insert into 考评项目表 (考评编号, 考评项目, 考评人, 考评级别, 登记日期, 参加人数, 通过人数, 未通过人数) values "
             "('KP01', '年度考核', '王芳', '部门', '2024-01-15', 2, 2, 0)");
        exec("insert into 考评情况 (考评编号1, 员工编号1, 被考评人姓名, 考评结果, 考评等级, 考评分数, 考评人1, 考评日期) values "
             "('KP01', 'E01', '张三', '通过', '良好', 86, '王芳', '2024-01-20'), "
             "('KP01', 'E02', '李四', '通过', '优秀', 93, '王芳', '2024-01-20')");
        exec("insert into 物品登记 (物品名称, 登记日期, 单位, 数量, 单价, 发出, 剩余) values "
             "('工作服', '2024-02-01', '套', 40, 85.5, 2, 38), ('安全帽', '2024-02-01', '顶', 20, 12.5, 0, 20)");
        exec("insert into 物品领用 (物品编号, 物品, 员工编号1, 领用人姓名, 领用日期, 数量, 价值) values "
             "(1, '工作服', 'E01', '张三', '2024-02-03', 1, 85.5), (1, '工作服', 'E02', '李四', '2024-02-03', 1, 85.5)");
        p.logIn("admin");
    }

    void exec(const std::string& sql) { dm.DMADO.exec(sql); }

    void openModuleList(int module)
    {
        db::DataSet& ds = *dm.dataSet(app::findModule(module)->dataSet);
        ds.setSql(app::findModule(module)->sql);
        ds.open();
    }

    static void keep(QWidget& w, const char* name)
    {
        const QByteArray dir = qgetenv("RSGZ_SCREENSHOTS");
        if (!dir.isEmpty()) w.grab().save(QString::fromUtf8(dir) + "/" + name);
    }

    static int rows(QWidget& w, const char* grid)
    {
        return w.findChild<QTableView*>(QString::fromUtf8(grid))->model()->rowCount();
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};

// Each window opens on the row of its module list and shows the details of that master only.
TEST_F(PersonnelModuleWindowsTest, WindowsOpenOnTheModuleRowWithItsDetails)
{
    openModuleList(2);
    ASSERT_TRUE(dm.pxjl.locate("员工编号", db::Value("E03")));
    {
        personnel::Tpxglw w(dm);
        w.show();
        QTest::qWaitForWindowExposed(&w);
        EXPECT_EQ(dm.pxkc.asString("课程编号"), "C02");
        EXPECT_EQ(rows(w, "attendees"), 2);
        EXPECT_EQ(dm.pxjl1.asString("员工编号1"), "E03");
        EXPECT_TRUE(dm.TrainingRulesOff);
        keep(w, "training-window-with-attendees.png");
    }
    EXPECT_FALSE(dm.TrainingRulesOff);

    dm.CurrentModule = 5;
    openModuleList(5);
    {
        personnel::Tddglw w(dm);
        w.show();
        QTest::qWaitForWindowExposed(&w);
        keep(w, "transfer-window.png");
    }

    personnel::Tkpqk_Editw evaluations(dm);
    evaluations.show();
    QTest::qWaitForWindowExposed(&evaluations);
    EXPECT_EQ(rows(evaluations, "participants"), 2);
    keep(evaluations, "evaluation-window.png");
    evaluations.close();

    personnel::Twpffw articles(dm);
    articles.show();
    QTest::qWaitForWindowExposed(&articles);
    EXPECT_EQ(rows(articles, "issues"), 2);
    EXPECT_TRUE(articles.findChild<QPushButton*>(QStringLiteral("issueToChosen"))->isEnabled());
    keep(articles, "article-window.png");
}

// 价值 in 发放数据编辑 reads as the issue list shows it, with the yuan sign; typed with a decimal
// point it is stored as typed and shown the same way again.
TEST_F(PersonnelModuleWindowsTest, IssueEditorShowsTheValueWithTheYuanSignAndTakesTypedDecimals)
{
    personnel::Twpffw articles(dm);
    articles.show();
    QTest::qWaitForWindowExposed(&articles);
    personnel::Tunitw editor(dm, personnel::ArticleIssue::issueEditorSpec());
    editor.show();
    QTest::qWaitForWindowExposed(&editor);
    auto* value = editor.findChild<QLineEdit*>(QStringLiteral("价值"));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->text(), QStringLiteral("￥85.50"));
    value->setFocus();
    EXPECT_EQ(value->text(), QStringLiteral("85.50"));  // edited without the sign
    QTest::keyClick(value, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(value, QStringLiteral("12.5"));
    QTest::keyClick(value, Qt::Key_Return);
    EXPECT_EQ(dm.wplyjl.value("价值").toMoney().toString(2), "12.50");
    editor.findChild<QLineEdit*>(QStringLiteral("领用备注"))->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(value->text(), QStringLiteral("￥12.50"));
    keep(editor, "issue-editor-value.png");
    dm.wplyjl.cancel();
}

// In the employee window the title editor belongs to the employee on screen: no person button.
TEST_F(PersonnelModuleWindowsTest, TitleWindowOfTheEmployeeWindowHasNoPersonButton)
{
    for (int module : {1, 3}) {
        dm.CurrentModule = module;
        personnel::Tpersonrecw w(dm, personnel::titleRecordSetup());
        EXPECT_EQ(w.findChild<QPushButton*>(QStringLiteral("personButton"))->isEnabled(), module == 3);
    }
}

}  // namespace
