#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QImageReader>
#include <QLineEdit>
#include <QPieSeries>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <gtest/gtest.h>

#include "SampleData.h"
#include "Screenshot.h"
#include "app/TDM.h"
#include "shell/Tmain.h"
#include "query/CombinedQuery.h"
#include "query/DefaultQueryFiles.h"
#include "query/windows/Tzhcxw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "widgets/ChartView.h"
#include "shell/NavigationBar.h"
#include "shell/StatisticsPanel.h"

using namespace rsgz;

namespace {

// 300 sample employees and the column files as the installation brings them.
class PersonnelQueryWindows : public ::testing::Test {
protected:
    PersonnelQueryWindows()
    {
        db::Connection conn(program.path("data/vesk.db"));
        sample::fillSampleData(conn, 300, 7);
        query::writeMissingQueryFiles(program.path("set/"));
        main.resize(1366, 768);
        main.show();
    }
    void choose(const char* button) { main.navigationBar()->button(QString::fromUtf8(button))->click(); }

    test::ProgramLayout program{{.liveDatabase = true, .recordRules = true}};
    test::ScriptedInteraction user;
    shell::Tmain main{program.frame(), false};
};

}  // namespace

// The personnel window of a fresh installation offers its sixty columns; a first-level department
// fills the second level's list, and 查询 narrows the personnel list to the boxes ticked.
TEST_F(PersonnelQueryWindows, PersonnelWindowFilledAndRun)
{
    choose("人员档案管理");
    const app::TDM& dm = program.dm();
    const QString department = dm.rszl.rowValue(0, dm.rszl.fieldIndex("一级部门")).toQString();
    const QString sex = dm.rszl.rowValue(0, dm.rszl.fieldIndex("性别")).toQString();

    query::Tzhcxw w(program.dm(), main.queryPages().queries(), 1, &main);
    w.show();
    EXPECT_EQ(w.findChildren<QCheckBox*>().size(), 60);
    auto* level1 = w.findChild<QComboBox*>(QStringLiteral("value_一级部门"));
    auto* level2 = w.findChild<QComboBox*>(QStringLiteral("value_二级部门"));
    ASSERT_TRUE(level1 && level2);
    ASSERT_GE(level1->findText(department), 0);
    level1->setCurrentIndex(level1->findText(department));
    EXPECT_TRUE(w.findChild<QCheckBox*>(QStringLiteral("check_一级部门"))->isChecked());
    EXPECT_GT(level2->count(), 0);
    w.findChild<QComboBox*>(QStringLiteral("value_性别"))->setEditText(sex);
    w.findChild<QLineEdit*>(QStringLiteral("value_姓名"))->setText(QStringLiteral("x"));
    w.findChild<QLineEdit*>(QStringLiteral("value_姓名"))->clear();
    EXPECT_FALSE(w.findChild<QCheckBox*>(QStringLiteral("check_姓名"))->isChecked());
    test::screenshot(&w, "combined-query-personnel.png");

    w.findChild<QPushButton*>(QStringLiteral("queryButton"))->click();
    ASSERT_GT(dm.rszl.rowCount(), 0);
    ASSERT_LT(dm.rszl.rowCount(), 300);
    for (int r = 0; r < dm.rszl.rowCount(); ++r) {
        EXPECT_TRUE(dm.rszl.rowValue(r, dm.rszl.fieldIndex("一级部门")).toQString().contains(department));
        EXPECT_TRUE(dm.rszl.rowValue(r, dm.rszl.fieldIndex("性别")).toQString().contains(sex));
    }
    w.findChild<QPushButton*>(QStringLiteral("clearButton"))->click();
    EXPECT_TRUE(level1->currentText().isEmpty());
    EXPECT_FALSE(w.findChild<QCheckBox*>(QStringLiteral("check_一级部门"))->isChecked());
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
}

// On a fresh installation every window of the family offers boxes as soon as its page has been
// opened: from the shipped files or from the columns the page writes itself.
TEST_F(PersonnelQueryWindows, EveryWindowOffersBoxesOnAFreshInstallation)
{
    for (const query::CombinedQueryKind& kind : query::combinedQueryKinds()) {
        SCOPED_TRACE(kind.caption);
        program.frame().navigation().chooseModule(kind.module);
        query::Tzhcxw w(program.dm(), main.queryPages().queries(), kind.module, &main);
        EXPECT_EQ(w.windowTitle().toStdString(), kind.caption);
        EXPECT_GE(w.findChildren<QCheckBox*>().size(), 5);
        if (kind.module == 5) test::screenshot(&w, "combined-query-transfers.png");
    }
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
}

// The statistics page: entering shows the first item and counts nothing; a chosen item counts every
// employee; each chart shows, a count over hundreds of values is folded to a readable chart, and
// the chart shown is saved as a PNG picture.
TEST_F(PersonnelQueryWindows, StatisticsPageWithItsCharts)
{
    choose("人员信息统计");
    auto* page = qobject_cast<shell::StatisticsPanel*>(main.panel(6));
    ASSERT_TRUE(page);
    const app::TDM& dm = program.dm();
    EXPECT_EQ(page->itemList()->currentText(), QStringLiteral("一级部门"));
    EXPECT_EQ(dm.rytongji.rowCount(), 0);

    page->itemList()->setCurrentIndex(page->itemList()->findText(QStringLiteral("一级部门")) + 1);
    page->itemList()->setCurrentIndex(0);
    int64_t total = 0;
    for (int r = 0; r < dm.rytongji.rowCount(); ++r) total += dm.rytongji.rowValue(r, dm.rytongji.fieldIndex("人数")).toInt();
    EXPECT_EQ(total, 300);
    EXPECT_EQ(page->grid()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("一级部门"));
    test::screenshot(&main, "statistics-table.png");
    const char* shots[] = {"", "statistics-pie.png", "statistics-column.png", "statistics-bar.png"};
    for (int tab = 1; tab <= 3; ++tab) {
        page->tabs()->setCurrentIndex(tab);
        test::screenshot(&main, shots[tab]);
    }

    page->tabs()->setCurrentIndex(1);
    page->itemList()->setEditText(QStringLiteral("身份证号"));
    EXPECT_GT(dm.rytongji.rowCount(), 200);
    auto* pie = qobject_cast<QPieSeries*>(page->chart(1)->chart()->series().value(0));
    ASSERT_TRUE(pie);
    EXPECT_EQ(static_cast<size_t>(pie->count()), widgets::ChartView::kShownCategories);

    const QString file = QString::fromStdString(program.path("pie.png"));
    user.fileNames.push_back(file.toStdString());
    page->findChild<QPushButton*>(QStringLiteral("saveChart"))->click();
    EXPECT_EQ(QImageReader(file).format(), QByteArray("png"));
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
    EXPECT_EQ(program.count("人员统计"), 0);
}
