#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/TDM.h"
#include "app/DictionaryLists.h"
#include "personnel/windows/Tgetdateww.h"
#include "personnel/windows/Tjbzlw.h"
#include "personnel/windows/Tkhflzdw.h"
#include "personnel/windows/Tzidianw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "widgets/DataSetGrid.h"
#include "shell/DictionaryWindows.h"
#include "widgets/PickerFields.h"
#include "widgets/WindowRegistry.h"

namespace {

using namespace rsgz;
using Names = std::vector<std::string>;

class DictionaryWindowsTest : public ::testing::Test {
protected:
    void exec(const std::string& sql) { dm.DMADO.exec(sql); }
    static void click(QWidget& w, const char* button)
    {
        w.findChild<QPushButton*>(QString::fromUtf8(button))->click();
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};

TEST_F(DictionaryWindowsTest, DictionaryWindowAddsAndDeletesSuggestions)
{
    exec("insert into 数据字典 (字段名称, 字典内容) values ('职务', '科员')");
    app::openDictionary(dm, "职务");
    dm.CurrentDictionaryKey = "职务";
    personnel::Tzidianw w(dm);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("字典管理"));
    QAbstractItemModel* model = w.grid()->model();
    ASSERT_EQ(model->columnCount(), 2);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("字典内容"));

    click(w, "addButton");
    ASSERT_EQ(model->rowCount(), 2);
    EXPECT_EQ(model->index(1, 0).data().toString(), QStringLiteral("职务"));
    EXPECT_TRUE(model->flags(model->index(1, 1)) & Qt::ItemIsEditable);
    ASSERT_TRUE(model->setData(model->index(1, 1), QStringLiteral("科长")));
    click(w, "saveButton");
    EXPECT_EQ(app::dictionaryList(dm, "职务"), (Names{"科员", "科长"}));

    app::openDictionary(dm, "职务");
    ui.answer(true);
    click(w, "deleteButton");
    click(w, "saveButton");
    EXPECT_EQ(ui.questions, Names{"删除当前字典数据吗?"});
    EXPECT_EQ(app::dictionaryList(dm, "职务"), Names{"科长"});
    click(w, "returnButton");
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(DictionaryWindowsTest, SettingsWindowShowsKeysAndTitlesTheGridByKey)
{
    exec("insert into 数据字典 (字段名称, 字典内容) values ('职务', '科员'), ('学历', '本科'), ('学历', '大专')");
    personnel::Tjbzlw w(dm);
    w.show();
    auto* tree = w.findChild<QTreeWidget*>(QStringLiteral("keyTree"));
    auto* grid = w.findChild<widgets::DataSetGrid*>(QStringLiteral("settingsGrid"));
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("职务"));

    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(tree->topLevelItem(1)).center());
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("学历"));
    EXPECT_EQ(grid->model()->rowCount(), 2);
    click(w, "addButton");
    ASSERT_TRUE(grid->model()->setData(grid->model()->index(2, 0), QStringLiteral("硕士")));
    click(w, "saveButton");
    EXPECT_EQ(app::dictionaryList(dm, "学历"), (Names{"本科", "大专", "硕士"}));
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(DictionaryWindowsTest, DepartmentEditorFillsUpperLevelsAndWritesOnSave)
{
    exec("insert into 部门分类 (一级部门, 二级部门, 三级部门) values ('总部', '财务部', '会计科'), ('总部', '人事部', null)");
    personnel::Tkhflzdw w(dm, 3, {"总部", "财务部", "", ""});
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("部门分类字典编辑"));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("hint"))->text(), QStringLiteral("提示: 软件自动填写的内容请不要修改!"));
    auto* grid = w.findChild<QTableWidget*>(QStringLiteral("departmentGrid"));
    ASSERT_EQ(grid->columnCount(), 3);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(grid->columnWidth(c), 180);
    ASSERT_EQ(grid->rowCount(), 1);

    click(w, "addButton");
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(1, 0)->text(), QStringLiteral("总部"));
    EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("财务部"));
    EXPECT_FALSE(grid->item(1, 1)->flags() & Qt::ItemIsEditable);
    EXPECT_TRUE(grid->item(1, 2)->flags() & Qt::ItemIsEditable);
    grid->item(1, 2)->setText(QStringLiteral("出纳科"));
    click(w, "saveButton");
    EXPECT_EQ(app::departmentList(dm, 3, {"总部", "财务部"}), (Names{"会计科", "出纳科"}));

    grid->setCurrentCell(0, 2);
    ui.answer(true);
    click(w, "deleteButton");
    click(w, "saveButton");
    EXPECT_EQ(ui.questions, Names{"删除当前字典数据吗?"});
    EXPECT_EQ(app::departmentList(dm, 3, {"总部", "财务部"}), Names{"出纳科"});
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(DictionaryWindowsTest, DatePickerAnswersByDoubleClickOrNotAtAll)
{
    {
        personnel::Tgetdateww w(dm);
        w.show();
        EXPECT_FALSE(dm.DatePicked);
        emit w.calendar()->activated(QDate(2023, 7, 8));
        EXPECT_TRUE(dm.DatePicked);
        EXPECT_EQ(dm.PickedDateText, "2023-07-08");
    }
    personnel::Tgetdateww w(dm);
    w.show();
    EXPECT_TRUE(dm.PickedDateText.empty());
    w.close();  // the close box
    EXPECT_FALSE(dm.DatePicked);
}

TEST_F(DictionaryWindowsTest, WindowsAreRegisteredByCaption)
{
    shell::registerDictionaryWindows();
    for (const char* caption : {"字典管理", "基本资料设置", "部门分类字典编辑", "取得当前日期"})
        EXPECT_TRUE(widgets::hasRegisteredWindow(caption)) << caption;
}

TEST_F(DictionaryWindowsTest, DepartmentBoxesRefillTheLevelBelowAndKeepTexts)
{
    exec("insert into 部门分类 (一级部门, 二级部门, 三级部门) values ('总部', '财务部', '会计科'), ('分厂', '生产部', null), "
         "('分厂', '质检部', null)");
    QWidget host;
    std::vector<QComboBox*> boxes;
    for (int i = 0; i < 4; ++i) boxes.push_back(new QComboBox(&host));
    widgets::DepartmentBoxes fields(dm, boxes);
    std::vector<int> asked;
    QObject::connect(&fields, &widgets::DepartmentBoxes::editorRequested, [&](int level) { asked.push_back(level); });

    for (int i = 0; i < 4; ++i) boxes[static_cast<size_t>(i)]->setEditText(QString::fromUtf8(i == 0 ? "总部" : i == 1 ? "财务部" : ""));
    fields.refresh({"总部", "财务部", "会计科", ""});
    EXPECT_EQ(boxes[0]->count(), 2);
    EXPECT_EQ(boxes[1]->count(), 1);
    EXPECT_EQ(boxes[2]->itemText(0), QStringLiteral("会计科"));
    EXPECT_EQ(boxes[0]->currentText(), QStringLiteral("总部")) << "a refill keeps the text shown";

    boxes[0]->setEditText(QStringLiteral("分厂"));
    ASSERT_EQ(boxes[1]->count(), 2);
    EXPECT_EQ(boxes[1]->itemText(1), QStringLiteral("质检部"));
    EXPECT_EQ(boxes[1]->currentText(), QStringLiteral("财务部")) << "the stored lower level is not cleared";
    EXPECT_EQ(boxes[2]->count(), 1) << "only the level below refills";

    QTest::mouseDClick(boxes[2]->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(asked, std::vector<int>{3});
}

}  // namespace
