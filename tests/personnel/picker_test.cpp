#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/Gbk.h"
#include "personnel/EmployeePicker.h"
#include "personnel/ListPickers.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;
using personnel::EmployeePicker;
using personnel::PickMode;
using Names = std::vector<std::string>;

class PickerTest : public test::OnBothEngines {
protected:
    PickerTest()
    {
        exec("insert into 员工基本情况 (员工编号, 姓名, 一级部门, 二级部门, 三级部门) values "
             "('E01', '张三', '总部', '财务部', '会计科'), ('E02', '李四', '总部', '财务部', '出纳科'), "
             "('E03', '王五', '总部', '人事部', null), ('E04', 'O''Neil', '分厂', '财务部', '会计科'), "
             "('E05', '赵六', '分厂', null, null)");
    }

    void exec(const std::string& sql) { dm.DMADO.exec(sql); }

    // The personnel tree with its field list, as the query tree window saves them.
    void writeTree(const Names& fieldList)
    {
        db::writeSettingsLines(p.path("set/rszl.list"),
                          {"总部", "\t财务部", "\t\t会计科", "\t\t出纳科", "\t人事部", "分厂", "\t财务部", "\t\t会计科"});
        db::writeSettingsLines(p.path("set/rszl_Search.List"), fieldList);
    }

    Names column(db::DataSet& ds, const char* field)
    {
        Names out;
        const int c = ds.fieldIndex(field);
        for (int r = 0; r < ds.rowCount(); ++r) out.push_back(ds.valueAt(r, c).toString());
        return out;
    }

    int storedChosenRows()
    {
        db::DataSet& q = dm.s5;
        q.close();
        q.setSql("select count(*) as n from 选择人员");
        q.open();
        const int n = static_cast<int>(q.asInt("n"));
        q.close();
        return n;
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true, .engine = engine()}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};
RSGZ_ON_BOTH_ENGINES(PickerTest);

TEST_P(PickerTest, TheCaptionDecidesTheMode)
{
    for (const char* c : {"选择被评定人", "选择被调动人", "选择批准人", "选择经办人", "选择姓名", "发放物品给一个人"})
        EXPECT_EQ(personnel::pickModeOf(c), PickMode::Single) << c;
    for (const char* c : {"选择受培训人员", "选择人员发放物品", "选择参加考评人员", "随便什么"})
        EXPECT_EQ(personnel::pickModeOf(c), PickMode::Multiple) << c;
}

// 返回 picks the current candidate, the first one when none was clicked; an empty list picks
// nobody, and an earlier pick never survives the next opening.
TEST_P(PickerTest, SingleChoiceReturnsTheCurrentCandidate)
{
    dm.PickResult = 1;
    EmployeePicker picker(dm, "选择批准人");
    picker.open();
    EXPECT_EQ(dm.PickResult, 0);
    EXPECT_EQ(dm.s4.recordCount(), 5);
    picker.finish();
    EXPECT_EQ(dm.PickResult, 1);
    EXPECT_EQ(dm.s4.asString("员工编号"), "E01");

    picker.open();
    dm.s4.next();
    dm.s4.next();
    picker.finish();
    EXPECT_EQ(dm.PickResult, 1);
    EXPECT_EQ(dm.s4.asString("姓名"), "王五");

    picker.open();
    picker.search("姓名", "无此人");
    picker.finish();
    EXPECT_EQ(dm.PickResult, 0);

    picker.open();
    picker.cancel();
    EXPECT_EQ(dm.PickResult, 0);
}

TEST_P(PickerTest, MultipleChoiceKeepsTheChosenListInMemoryOnly)
{
    exec("insert into 选择人员 (员工编号, 姓名) values ('E09', '旧行')");  // left by an older program
    EmployeePicker picker(dm, "选择受培训人员");
    picker.open();
    EXPECT_TRUE(dm.select_renyuan.isEmpty()) << "the chosen list starts empty";

    EXPECT_TRUE(picker.chooseCurrent());
    dm.s4.last();
    EXPECT_TRUE(picker.chooseCurrent());
    dm.s4.first();
    EXPECT_FALSE(picker.chooseCurrent());
    EXPECT_EQ(ui.messages, Names{"不要重复选择！"});
    EXPECT_EQ(column(dm.select_renyuan, "员工编号"), (Names{"E01", "E05"}));

    // Removed, the same employee can be chosen again.
    dm.select_renyuan.first();
    picker.removeChosen();
    EXPECT_TRUE(picker.chooseCurrent());
    EXPECT_EQ(column(dm.select_renyuan, "姓名"), (Names{"赵六", "张三"}));

    picker.finish();
    EXPECT_EQ(dm.select_renyuan.recordCount(), 2) << "返回 leaves the list for the caller";
    EXPECT_EQ(storedChosenRows(), 1) << "nothing is written to 选择人员";

    picker.open();
    picker.chooseCurrent();
    picker.cancel();
    EXPECT_TRUE(dm.select_renyuan.isEmpty()) << "取消 leaves the caller nothing to create";
    EXPECT_EQ(storedChosenRows(), 1);
}

TEST_P(PickerTest, EmptyCandidateListChoosesNothing)
{
    EmployeePicker picker(dm, "选择受培训人员");
    picker.open();
    picker.search("员工编号", "X");
    EXPECT_FALSE(picker.chooseCurrent());
    EXPECT_TRUE(dm.select_renyuan.isEmpty());
    picker.removeChosen();  // nothing to remove: no error
    EXPECT_TRUE(ui.messages.empty());
}

// A node narrows the candidates to its whole path, on the columns of the saved field list.
TEST_P(PickerTest, TreeNodeFiltersOnItsPath)
{
    writeTree({"一级部门", "二级部门", "三级部门"});
    EmployeePicker picker(dm, "选择受培训人员");
    picker.open();
    ASSERT_EQ(picker.tree().size(), 8);
    struct Case {
        int node;
        Names numbers;
    };
    const Case cases[] = {
        {2, {"E01"}},                // 总部/财务部/会计科: not O'Neil's 分厂/财务部/会计科
        {1, {"E01", "E02"}},         // 总部/财务部
        {5, {"E04", "E05"}},         // 分厂
        {7, {"E04"}},                // 分厂/财务部/会计科
        {-1, {"E01", "E02", "E03", "E04", "E05"}},
    };
    for (const Case& c : cases) {
        picker.clickNode(c.node);
        EXPECT_EQ(column(dm.s4, "员工编号"), c.numbers) << "node " << c.node;
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_P(PickerTest, TreeClickWithoutOrWithAnOutdatedFieldListKeepsTheCandidates)
{
    EmployeePicker picker(dm, "选择批准人");
    writeTree({"一级部门"});
    std::remove(p.path("set/rszl_Search.List").c_str());
    picker.open();
    picker.search("姓名", "张");
    picker.clickNode(0);
    EXPECT_EQ(column(dm.s4, "员工编号"), Names{"E01"}) << "no field list: the click changes nothing";
    EXPECT_TRUE(ui.messages.empty());

    db::writeSettingsLines(p.path("set/rszl_Search.List"), {"一级部门", "不存在的列"});
    picker.clickNode(0);
    EXPECT_EQ(column(dm.s4, "员工编号"), Names{"E01"});
    EXPECT_EQ(ui.messages, Names{"检索列表过时，应该重新生成！"});
}

TEST_P(PickerTest, SearchTakesTextAsAValue)
{
    EmployeePicker picker(dm, "选择批准人");
    picker.open();
    const Names fields = picker.searchFields();
    EXPECT_EQ(std::count(fields.begin(), fields.end(), "编号"), 0);
    EXPECT_EQ(std::count(fields.begin(), fields.end(), "姓名"), 1);

    picker.search("姓名", "O'Neil");
    EXPECT_EQ(column(dm.s4, "员工编号"), Names{"E04"});
    picker.search("姓名", "' or '1'='1");
    EXPECT_TRUE(dm.s4.isEmpty());
    picker.search("三级部门", "");
    EXPECT_EQ(column(dm.s4, "员工编号"), (Names{"E01", "E02", "E04"})) << "an empty text: non-empty columns";
    picker.search("姓名 or 1=1 --", "x");
    EXPECT_EQ(column(dm.s4, "员工编号"), (Names{"E01", "E02", "E04"})) << "an unknown column is ignored";

    // Enter searches only with a listed field and some text.
    picker.searchOnEnter("姓名", "");
    EXPECT_EQ(dm.s4.recordCount(), 3);
    picker.searchOnEnter("姓名", "李");
    EXPECT_EQ(column(dm.s4, "员工编号"), Names{"E02"});
    EXPECT_TRUE(ui.errors.empty());
}

TEST_P(PickerTest, ArticleAndCoursePickersClearTheirFlagWhenMade)
{
    dm.ArticlePicked = dm.CoursePicked = true;
    personnel::ArticlePicker articles(dm);
    personnel::CoursePicker courses(dm);
    EXPECT_FALSE(dm.ArticlePicked);
    EXPECT_FALSE(dm.CoursePicked);
    articles.choose();
    courses.choose();
    EXPECT_TRUE(dm.ArticlePicked && dm.CoursePicked);
    articles.cancel();
    courses.cancel();
    EXPECT_FALSE(dm.ArticlePicked || dm.CoursePicked);
}

// The picker refuses to delete a course its training records name, like the training window.
TEST_P(PickerTest, CourseWithAttendeesIsNotDeleted)
{
    exec("insert into 培训课程 (培训名称, 课程编号, 培训总费用) values ('安全', 'C''1', 0), ('消防', 'C2', 0)");
    exec("insert into 培训记录 (受培训人姓名, 员工编号1, 课程编号1) values ('张三', 'E01', 'C''1')");
    personnel::CoursePicker picker(dm);
    picker.activate();
    ASSERT_EQ(dm.pxkc.recordCount(), 2);
    picker.remove();
    EXPECT_EQ(ui.messages, Names{"培训记录有数据，不能删除！"});
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(dm.pxkc.recordCount(), 2);

    dm.pxkc.next();
    ui.answer(true);
    picker.remove();
    EXPECT_EQ(ui.questions, Names{"删除当前培训课程记录吗?"});
    picker.activate();
    EXPECT_EQ(column(dm.pxkc, "课程编号"), Names{"C'1"});
}

// 增加 then 删除 abandons the new course; 确定 on a course being typed stores it first, and a course
// the checks refuse is no choice.
TEST_P(PickerTest, CourseBeingInsertedIsAbandonedOrStored)
{
    personnel::CoursePicker picker(dm);
    picker.activate();
    picker.add();
    EXPECT_EQ(dm.pxkc.asMoney("培训总费用"), db::Money());
    picker.remove();
    EXPECT_EQ(dm.pxkc.state(), db::DataSet::State::Browse);
    EXPECT_TRUE(dm.pxkc.isEmpty());

    picker.add();
    EXPECT_FALSE(app::runAction([&] { picker.choose(); }));
    EXPECT_FALSE(dm.CoursePicked);
    dm.pxkc.setValue("课程编号", "C9");
    dm.pxkc.setValue("培训名称", "急救");
    picker.choose();
    EXPECT_TRUE(dm.CoursePicked);
    picker.activate();
    EXPECT_EQ(column(dm.pxkc, "课程编号"), Names{"C9"});
}

}  // namespace
