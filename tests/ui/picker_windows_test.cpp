// The employee picker window as a user meets it. With RSGZ_SCREENSHOT_DIR set, the window is also
// saved there as a picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTreeWidget>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/Gbk.h"
#include "personnel/EmployeePicker.h"
#include "personnel/windows/Tpxkcw.h"
#include "personnel/windows/Tselectm.h"
#include "personnel/windows/Tselectwpw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "widgets/DataSetGrid.h"
#include "widgets/WindowRegistry.h"
#include "shell/ProgramWindows.h"

namespace {

using namespace rsgz;

TEST(PickerWindowTest, MultipleChoiceShowsTreeCandidatesAndChosenList)
{
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    test::ScriptedInteraction ui;
    app::TDM& dm = p.dm();
    app::setDM(&dm);
    dm.DMADO.exec("insert into 员工基本情况 (员工编号, 姓名, 工资帐套名称, 一级部门, 二级部门, 三级部门) values "
                  "('1001', '张伟', '管理人员', '总部', '财务部', '会计科'), "
                  "('1002', '李娜', '管理人员', '总部', '财务部', '出纳科'), "
                  "('1003', '王芳', '管理人员', '总部', '人事部', null), "
                  "('2001', '刘洋', '生产人员', '分厂', '生产部', '装配科'), "
                  "('2002', '陈静', '生产人员', '分厂', '生产部', '装配科')");
    db::writeSettingsLines(p.path("set/rszl.list"),
                      {"总部", "\t财务部", "\t\t会计科", "\t\t出纳科", "\t人事部", "分厂", "\t生产部", "\t\t装配科"});
    db::writeSettingsLines(p.path("set/rszl_Search.List"), {"一级部门", "二级部门", "三级部门"});

    personnel::Tselectm w(dm, "选择受培训人员", nullptr);
    EXPECT_EQ(w.picker().mode(), personnel::PickMode::Multiple);
    auto* tree = w.findChild<QTreeWidget*>(QStringLiteral("tree"));
    ASSERT_TRUE(tree);
    EXPECT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(w.candidates()->model()->rowCount(), 5);
    EXPECT_EQ(w.candidates()->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("帐套名称"));

    // Double-clicks on two candidates of the 分厂 node.
    w.picker().clickNode(5);
    EXPECT_EQ(w.candidates()->model()->rowCount(), 2);
    for (int row : {0, 1}) {
        const QModelIndex cell = w.candidates()->model()->index(row, 0);
        w.candidates()->setCurrentIndex(cell);
        emit w.candidates()->doubleClicked(cell);
    }
    auto* chosen = w.findChild<widgets::DataSetGrid*>(QStringLiteral("chosen"));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->model()->rowCount(), 2);
    EXPECT_EQ(dm.select_renyuan.asString("姓名"), "陈静");
    tree->expandAll();
    tree->setCurrentItem(tree->topLevelItem(1));

    w.resize(900, 520);
    w.show();
    QApplication::processEvents();
    if (const QString dir = qEnvironmentVariable("RSGZ_SCREENSHOT_DIR"); !dir.isEmpty())
        w.grab().save(dir + "/picker-multiple-choice.png");

    static_cast<QDialog&>(w).reject();
    EXPECT_TRUE(dm.select_renyuan.isEmpty());
    app::setDM(nullptr);
}

// The article picker: the row a user clicks is the pick, 取消 picks nothing. The course picker:
// 确定 picks the current course, and 删除 refuses a course whose records name it.
TEST(PickerWindowTest, ArticleAndCoursePickersChooseTheCurrentRow)
{
    QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    test::ScriptedInteraction ui;
    app::TDM& dm = p.dm();
    app::setDM(&dm);
    dm.DMADO.exec("insert into 物品登记 (物品名称, 单价, 数量, 剩余, 备注) values "
                  "('安全帽', 35, 120, 96, '黄色'), ('工作服', 180, 200, 150, '夏装'), ('劳保手套', 6.5, 1000, 640, null)");
    dm.DMADO.exec("insert into 培训课程 (课程编号, 培训名称, 培训内容, 开始日期, 结束日期, 培训单位, 培训总费用) values "
                  "('PX001', '安全生产', '安全操作规程', '2024-03-04', '2024-03-08', '安监站', 6000), "
                  "('PX002', '财务软件', '总账与报表', '2024-05-13', '2024-05-17', '财政局培训中心', 4500)");
    dm.DMADO.exec("insert into 培训记录 (受培训人姓名, 员工编号1, 课程编号1) values ('张伟', '1001', 'PX001')");
    const QString dir = qEnvironmentVariable("RSGZ_SCREENSHOT_DIR");

    for (bool cancel : {false, true}) {
        personnel::Tselectwpw w(dm);
        auto* grid = w.findChild<widgets::DataSetGrid*>(QStringLiteral("articles"));
        ASSERT_EQ(grid->model()->rowCount(), 3);
        grid->setCurrentIndex(grid->model()->index(1, 0));
        w.resize(600, 300);
        w.show();
        QApplication::processEvents();
        if (!dir.isEmpty() && !cancel) w.grab().save(dir + "/picker-article.png");
        w.findChild<QPushButton*>(QString::fromLatin1(cancel ? "cancelButton" : "okButton"))->click();
        EXPECT_EQ(dm.ArticlePicked, !cancel);
        EXPECT_EQ(dm.wpdj.asString("物品名称"), "工作服");
    }

    personnel::Tpxkcw w(dm);
    auto* grid = w.findChild<widgets::DataSetGrid*>(QStringLiteral("courses"));
    ASSERT_EQ(grid->model()->rowCount(), 2);
    grid->setCurrentIndex(grid->model()->index(0, 1));
    ui.answer(true);
    w.findChild<QPushButton*>(QStringLiteral("deleteButton"))->click();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"培训记录有数据，不能删除！"});
    EXPECT_EQ(grid->model()->rowCount(), 2);
    grid->setCurrentIndex(grid->model()->index(1, 0));
    w.resize(820, 300);
    w.show();
    QApplication::processEvents();
    if (!dir.isEmpty()) w.grab().save(dir + "/picker-course.png");
    w.findChild<QPushButton*>(QStringLiteral("okButton"))->click();
    EXPECT_TRUE(dm.CoursePicked);
    EXPECT_EQ(dm.pxkc.asString("课程编号"), "PX002");
    app::setDM(nullptr);
}

// Callers open the pickers by caption only.
TEST(PickerWindowTest, EveryCaptionIsRegistered)
{
    shell::registerProgramWindows();
    for (const std::string& c : personnel::employeePickerCaptions()) EXPECT_TRUE(widgets::hasRegisteredWindow(c)) << c;
    for (const char* c : {"选择物品", "选择培训课程"}) EXPECT_TRUE(widgets::hasRegisteredWindow(c)) << c;
}

}  // namespace
