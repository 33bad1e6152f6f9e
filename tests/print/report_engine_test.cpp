#include <gtest/gtest.h>

#include <QFile>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "print/ReportEngine.h"
#include "print/ReportFile.h"
#include "support/ScriptedInteraction.h"
#include "support/TestDatabase.h"

using namespace rsgz;
using namespace rsgz::print;

namespace {

class ReportEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        reportEngine().reset();
        conn_.exec("insert into 个人经历 (起始日期,学校或者工作单位,员工编号1) values ('1990-09-01','第一中学','E1')");
        conn_.exec("insert into 个人经历 (起始日期,学校或者工作单位,员工编号1) values ('1996-09-01','师范大学','E1')");
        grjl_.open();
    }
    void TearDown() override { reportEngine().reset(); }
    std::string file(const std::string& name) const { return db_.programDir() + "baobiao/" + name; }

    test::TestDatabase db_;
    db::Connection conn_{db_.livePath()};
    db::DataSet grjl_{&conn_, "grjl", db::splitSqlLines("select 起始日期,学校或者工作单位 from 个人经历\r\norder by 起始日期")};
    test::ScriptedInteraction user_;
};

}  // namespace

TEST_F(ReportEngineTest, PrintingAGridWithoutAFileCreatesItWithTheTitleBandAndNoColumns)
{
    const std::string path = file("个人简历报表.dat");
    int rowsSeen = 0;
    user_.onWindow(kPreviewCaption, [&] { rowsSeen = static_cast<int>(reportEngine().source().rows.size()); });
    ASSERT_TRUE(previewGrid(grjl_, path, "个人简历"));
    EXPECT_EQ(user_.windows, std::vector<std::string>{"打印预览"});
    EXPECT_EQ(rowsSeen, 2);
    const ReportFileResult r = loadReportDefinition(path);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.definition.bands.front().text, "表格标题");
    EXPECT_TRUE(r.definition.columns.empty());
    // Without columns the grid's own columns are printed, so the preview is never blank.
    EXPECT_EQ(reportEngine().layout().pages[0].textsOf(TextRole::Cell),
              (std::vector<std::string>{"1990-09-01", "第一中学", "1996-09-01", "师范大学"}));
}

TEST_F(ReportEngineTest, AnotherGridWithoutAFileKeepsTheLoadedBandsAndRenamesOnlyTheFirst)
{
    ReportDefinition loaded = defaultDefinition();
    loaded.bands.push_back({"制表人：人事科", {}, Alignment::Left, 1, BandType::DetailFooter});
    loaded.bands[0].text = "调动记录表";
    loaded.columns = {columnForField("学校或者工作单位")};
    ASSERT_EQ(saveReportDefinition(loaded, file("调动记录报表.dat")), "");

    ASSERT_TRUE(designGrid(grjl_, file("调动记录报表.dat")));
    EXPECT_EQ(reportEngine().definition(), loaded);
    ASSERT_TRUE(previewGrid(grjl_, file("社会关系报表.dat")));

    ReportDefinition expected = loaded;
    expected.bands[0].text = "表格标题";
    expected.columns.clear();
    EXPECT_EQ(loadReportDefinition(file("社会关系报表.dat")).definition, expected);
    EXPECT_EQ(user_.windows, (std::vector<std::string>{"报表设置", "打印预览"}));
}

TEST_F(ReportEngineTest, TheDesignerChangesAreSaved)
{
    user_.onWindow(kDesignerCaption, [] { reportEngine().definition().page.orientation = Orientation::Landscape; });
    ASSERT_TRUE(designGrid(grjl_, file("证件报表.dat")));
    EXPECT_EQ(loadReportDefinition(file("证件报表.dat")).definition.page.orientation, Orientation::Landscape);
}

TEST_F(ReportEngineTest, ADamagedFileOffersTheDefaultAndKeepsTheDamagedFileAside)
{
    const std::string path = file("奖惩情况报表.dat");
    auto damage = [&] {
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("TPF0\x01garbage");
    };
    damage();
    user_.answer(false);
    EXPECT_FALSE(previewGrid(grjl_, path));
    EXPECT_TRUE(user_.windows.empty()) << "refused: no preview";
    ASSERT_EQ(user_.questions.size(), 1u);
    EXPECT_NE(user_.questions[0].find("无法读取"), std::string::npos);
    EXPECT_FALSE(loadReportDefinition(path).ok) << "and the file is left alone";

    user_.answer(true);
    EXPECT_TRUE(previewGrid(grjl_, path));
    EXPECT_EQ(user_.windows, std::vector<std::string>{"打印预览"});
    EXPECT_TRUE(loadReportDefinition(path).ok) << "a readable definition replaces it";
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path + ".bad")));
}
