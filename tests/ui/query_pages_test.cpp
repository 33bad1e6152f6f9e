#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "SampleData.h"
#include "Screenshot.h"
#include "app/TDM.h"
#include "shell/Tmain.h"
#include "db/ChineseCollation.h"
#include "db/Gbk.h"
#include "query/QueryDefinition.h"
#include "query/windows/Tcxzdw.h"
#include "query/windows/Tplxgw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "shell/NavigationBar.h"

using namespace rsgz;
using test::screenshot;

namespace {

class QueryPagesWindow : public ::testing::Test {
protected:
    QueryPagesWindow()
    {
        db::Connection conn(program.path("data/vesk.db"));
        sample::fillSampleData(conn, 300, 7);
    }
    test::ProgramLayout program{{.liveDatabase = true, .recordRules = true}};
    test::ScriptedInteraction user;
};

}  // namespace

// The department tree of the personnel page, built from the definition, and a click on a node: the
// grid shows that department's people and the status bar names the path.
TEST_F(QueryPagesWindow, ATreeClickNarrowsTheGridAndNamesThePath)
{
    shell::Tmain w(program.frame(), false);
    w.resize(1366, 768);
    w.show();
    w.navigationBar()->button(QStringLiteral("人员档案管理"))->click();
    query::QueryDefinition def(w.queryPages().trees(), 1);
    for (const char* level : {"一级部门", "二级部门", "三级部门"}) def.add(level);
    def.save();
    def.regenerate();

    auto* tree = w.panel(1)->findChild<QTreeWidget*>(QStringLiteral("queryTree"));
    ASSERT_GT(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree->topLevelItem(0);
    tree->expandItem(root);
    ASSERT_GT(root->childCount(), 0);
    QTreeWidgetItem* child = root->child(0);
    tree->expandItem(child);
    tree->setCurrentItem(child);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(child).center());

    EXPECT_EQ(w.statusPanel(1)->text(), QStringLiteral("当前数据：  ") + root->text(0) + QStringLiteral("     ") + child->text(0));
    const app::TDM& dm = program.dm();
    auto* grid = w.panel(1)->findChild<QTableView*>(QStringLiteral("moduleGrid"));
    ASSERT_GT(dm.rszl.recordCount(), 0);
    EXPECT_EQ(grid->model()->rowCount(), dm.rszl.recordCount());
    for (int r = 0; r < dm.rszl.rowCount(); ++r)
        EXPECT_EQ(dm.rszl.rowValue(r, dm.rszl.fieldIndex("二级部门")).toQString(), child->text(0));
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
    screenshot(&w, "query-tree-module1.png");

    // A choice in the sort box sorts; filling the box by program did not.
    auto* sortField = w.panel(1)->findChild<QComboBox*>(QStringLiteral("sortField"));
    const db::SqlLines filtered = dm.rszl.sqlLines();
    sortField->setCurrentIndex(sortField->findText(QStringLiteral("姓名")));
    EXPECT_EQ(dm.rszl.sqlLines(), filtered);
    emit sortField->activated(sortField->currentIndex());
    EXPECT_EQ(dm.rszl.sqlLines().back(), "order by 姓名 collate zh");

}

// The sort bar puts names in the order a Chinese office reads them in: by pinyin, whatever their
// code points.
TEST_F(QueryPagesWindow, NamesSortInPinyinOrder)
{
    shell::Tmain w(program.frame(), false);
    w.resize(1366, 768);
    w.show();
    w.navigationBar()->button(QStringLiteral("人员档案管理"))->click();
    auto* sortField = w.panel(1)->findChild<QComboBox*>(QStringLiteral("sortField"));
    sortField->setCurrentIndex(sortField->findText(QStringLiteral("姓名")));
    emit sortField->activated(sortField->currentIndex());

    const db::DataSet& rszl = program.dm().rszl;
    const int name = rszl.fieldIndex("姓名");
    ASSERT_EQ(rszl.rowCount(), 300);
    for (int r = 1; r < rszl.rowCount(); ++r)
        ASSERT_LE(db::compareChinese(rszl.rowValue(r - 1, name).toString(), rszl.rowValue(r, name).toString()), 0)
            << "row " << r;
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
    screenshot(&w, "module1-sorted-by-name.png");
}

TEST_F(QueryPagesWindow, DefinitionAndBatchChangeWindows)
{
    shell::Tmain w(program.frame(), false);
    w.navigationBar()->button(QStringLiteral("人员档案管理"))->click();
    db::writeSettingsLines(program.path("set/rszl_Search.List"), {"一级部门", "二级部门", "职称"});

    query::Tcxzdw def(w.queryPages().trees(), 1, &w);
    def.show();
    auto* chosen = def.findChild<QListWidget*>(QStringLiteral("chosenList"));
    auto* candidates = def.findChild<QListWidget*>(QStringLiteral("candidateList"));
    EXPECT_EQ(chosen->count(), 3);
    candidates->setCurrentRow(1);
    def.findChild<QPushButton*>(QStringLiteral("addButton"))->click();
    EXPECT_EQ(chosen->count(), 4);
    EXPECT_EQ(chosen->item(3)->text(), candidates->item(1)->text());
    screenshot(&def, "query-definition.png");

    query::Tplxgw batch(program.dm(), w.queryPages(), w.queryPages().trees().candidateColumns(1), &w);
    batch.show();
    auto* field = batch.findChild<QComboBox*>(QStringLiteral("fieldBox"));
    EXPECT_EQ(field->currentIndex(), -1);
    field->setCurrentIndex(field->findText(QStringLiteral("学历")));
    batch.findChild<QLineEdit*>(QStringLiteral("oldValue"))->setText(QStringLiteral("中专"));
    batch.findChild<QLineEdit*>(QStringLiteral("newValue"))->setText(QStringLiteral("大专"));
    screenshot(&batch, "batch-change.png");
    batch.findChild<QPushButton*>(QStringLiteral("changeButton"))->click();
    EXPECT_TRUE(user.messages.empty());
    EXPECT_FALSE(program.dm().rszl.locate("学历", db::Value("中专")));
}
