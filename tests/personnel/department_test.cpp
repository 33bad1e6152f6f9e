#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/TDM.h"
#include "db/DbError.h"
#include "personnel/DepartmentEditor.h"
#include "app/DepartmentLists.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;
using app::DepartmentCascade;
using personnel::DepartmentEditor;
using app::DepartmentPath;
using Names = std::vector<std::string>;

class DepartmentTest : public test::OnBothEngines {
protected:
    DepartmentTest()
    {
        // Rows of every depth, a repeated path, and a name with a quote in it.
        exec("insert into 部门分类 (一级部门, 二级部门, 三级部门, 四级部门) values "
             "('总部', null, null, null), ('总部', '财务部', null, null), ('总部', '财务部', '会计科', null), "
             "('总部', '财务部', '会计科', '一组'), ('总部', '财务部', '会计科', '一组'), "
             "('总部', '财务部', '出纳科', '二组'), ('总部', '人事部', null, null), "
             "('分厂', '', null, null), ('分厂', '生产部', '装配科', '三组'), ('O''Neil厂', '质检部', null, null)");
    }

    void exec(const std::string& sql) { dm.DMADO.exec(sql); }

    // Every stored path as "a/b/c/d" (empty for null), in table order.
    Names rows()
    {
        db::DataSet& q = dm.s5;
        q.close();
        q.setSql("select 一级部门, 二级部门, 三级部门, 四级部门 from 部门分类 order by 编号");
        q.open();
        Names out;
        for (int r = 0; r < q.rowCount(); ++r) {
            std::string path;
            for (int i = 0; i < 4; ++i) path += (i ? "/" : "") + (q.rowValue(r, i).isNull() ? "-" : q.rowValue(r, i).toString());
            out.push_back(path);
        }
        q.close();
        return out;
    }

    Names shownNames(const DepartmentEditor& e)
    {
        Names out;
        for (const auto& entry : e.entries()) out.push_back(e.name(entry));
        return out;
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true, .engine = engine()}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};
RSGZ_ON_BOTH_ENGINES(DepartmentTest);

TEST_P(DepartmentTest, ListsAreDistinctNonEmptyNamesUnderTheUpperLevels)
{
    struct Case {
        int level;
        DepartmentPath upper;
        Names expected;
    };
    const Case cases[] = {
        {1, {}, {"总部", "分厂", "O'Neil厂"}},
        {2, {"总部"}, {"财务部", "人事部"}},
        {2, {"分厂"}, {"生产部"}},  // an empty second level is skipped
        {2, {"O'Neil厂"}, {"质检部"}},
        {3, {"总部", "财务部"}, {"会计科", "出纳科"}},
        {4, {"总部", "财务部", "会计科"}, {"一组"}},  // two equal rows collapse
        {2, {"无此部门"}, {}},
        {3, {"", ""}, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::departmentList(dm, c.level, c.upper), c.expected) << c.level << " " << c.upper[0];
    EXPECT_FALSE(dm.zidian.active());
    EXPECT_EQ(app::departmentListSql(3, {"a'b", "c"}),
              (db::SqlLines{"Select 三级部门 from 部门分类", "where 一级部门 = 'a''b'", "and 二级部门 = 'c'",
                            "group by 三级部门", "order by min(编号)"}));
}

TEST_P(DepartmentTest, CascadeRefillsOnlyTheLevelBelowAndKeepsListsForEmptyStoredLevels)
{
    DepartmentCascade c(dm);
    c.fillFirstLevel();
    EXPECT_EQ(c.list(1), (Names{"总部", "分厂", "O'Neil厂"}));

    c.fillFromStored({"总部", "财务部", "会计科", "一组"});
    EXPECT_EQ(c.list(2), (Names{"财务部", "人事部"}));
    EXPECT_EQ(c.list(3), (Names{"会计科", "出纳科"}));
    EXPECT_EQ(c.list(4), (Names{"一组"}));

    // A record without a first level leaves the level-2 list as it was; its own levels still fill.
    c.fillFromStored({"", "x", "", ""});
    EXPECT_EQ(c.list(2), (Names{"财务部", "人事部"}));
    EXPECT_TRUE(c.list(3).empty());
    EXPECT_EQ(c.list(4), (Names{"一组"}));

    // Choosing another first level refills level 2 from the shown texts; levels 3 and 4 stay.
    c.textChanged(1, {"分厂", "财务部", "会计科", "一组"});
    EXPECT_EQ(c.list(2), (Names{"生产部"}));
    EXPECT_EQ(c.list(4), (Names{"一组"}));
    c.textChanged(2, {"分厂", "生产部", "", ""});
    EXPECT_EQ(c.list(3), (Names{"装配科"}));

    // A three-level cascade (the transfer editor) has nothing below level 3.
    DepartmentCascade three(dm, 3);
    three.fillFromStored({"总部", "财务部", "会计科", "一组"});
    three.textChanged(3, {"总部", "财务部", "会计科", ""});
    EXPECT_EQ(three.list(3), (Names{"会计科", "出纳科"}));
    EXPECT_TRUE(three.list(4).empty());
}

TEST_P(DepartmentTest, EditorsListTheirLevelAndAddOneRowWithTheUpperLevels)
{
    struct Case {
        int level;
        Names shown;
        std::string added;
    };
    const Case cases[] = {
        {1, {"总部", "分厂", "O'Neil厂"}, "新厂/-/-/-"},
        {2, {"财务部", "人事部"}, "总部/新厂/-/-"},
        {3, {"会计科", "出纳科"}, "总部/财务部/新厂/-"},
        {4, {"一组", "一组"}, "总部/财务部/会计科/新厂"},  // one entry per stored row
    };
    for (const Case& c : cases) {
        const Names before = rows();
        DepartmentEditor e(dm, c.level, {"总部", "财务部", "会计科", "一组"});
        e.load();
        EXPECT_EQ(e.columns().size(), static_cast<size_t>(c.level));
        EXPECT_EQ(shownNames(e), c.shown) << c.level;
        e.add();
        ASSERT_EQ(e.current, static_cast<int>(c.shown.size()));
        e.setName(e.current, "新厂");
        e.save();
        Names after = rows();
        ASSERT_EQ(after.size(), before.size() + 1) << c.level;
        EXPECT_EQ(after.back(), c.added);
        exec("delete from 部门分类 where 一级部门 = '新厂' or 二级部门 = '新厂' or 三级部门 = '新厂' or 四级部门 = '新厂'");
    }
    EXPECT_TRUE(ui.errors.empty());
}

TEST_P(DepartmentTest, RenameReachesEveryRowUnderThePathAndNothingElse)
{
    DepartmentEditor level2(dm, 2, {"总部"});
    level2.load();
    level2.setName(0, "计财部");  // 财务部
    level2.save();
    const Names r = rows();
    EXPECT_EQ(std::count_if(r.begin(), r.end(), [](const std::string& s) { return s.starts_with("总部/计财部/"); }), 5);
    EXPECT_EQ(std::count_if(r.begin(), r.end(), [](const std::string& s) { return s.find("财务部") != std::string::npos; }), 0);
    EXPECT_EQ(shownNames(level2), (Names{"计财部", "人事部"}));

    // A quote in the old and the new name; another first level with the same lower names is untouched.
    DepartmentEditor level1(dm, 1, {});
    level1.load();
    level1.setName(2, "O'Brien厂");
    level1.save();
    EXPECT_EQ(rows().back(), "O'Brien厂/质检部/-/-");

    // Two names swapped in one save reach the rows they meant.
    DepartmentEditor swap(dm, 3, {"总部", "计财部"});
    swap.load();
    swap.setName(0, "出纳科");
    swap.setName(1, "会计科");
    swap.save();
    EXPECT_EQ(app::departmentList(dm, 4, {"总部", "计财部", "出纳科"}), Names{"一组"});
    EXPECT_EQ(app::departmentList(dm, 4, {"总部", "计财部", "会计科"}), Names{"二组"});

    // One of two equal level-4 rows is renamed alone.
    DepartmentEditor level4(dm, 4, {"总部", "计财部", "出纳科"});
    level4.load();
    ASSERT_EQ(level4.entries().size(), 2u);
    level4.setName(1, "三组");
    level4.save();
    EXPECT_EQ(shownNames(level4), (Names{"一组", "三组"}));
}

TEST_P(DepartmentTest, DeleteAsksThenRemovesTheWholeBranch)
{
    DepartmentEditor e(dm, 2, {"总部"});
    e.load();
    const Names before = rows();

    ui.answer(false);
    e.remove();  // 财务部, refused
    EXPECT_EQ(ui.questions, Names{"删除当前字典数据吗?"});
    EXPECT_EQ(e.entries().size(), 2u);

    ui.answer(true);
    e.remove();
    EXPECT_EQ(rows(), before) << "nothing is written before 保存";
    e.save();
    const Names after = rows();
    EXPECT_EQ(after.size(), before.size() - 5);
    EXPECT_EQ(std::count(after.begin(), after.end(), "总部/-/-/-"), 1) << "the first level itself stays";
    EXPECT_EQ(shownNames(e), Names{"人事部"});

    // A new entry goes without a question; an empty list does nothing.
    ui.clear();
    e.add();
    e.remove();
    EXPECT_TRUE(ui.questions.empty());
    DepartmentEditor empty(dm, 3, {"无此部门", "无"});
    empty.load();
    empty.remove();
    EXPECT_TRUE(ui.questions.empty());
}

TEST_P(DepartmentTest, SaveIsAllOrNothing)
{
    // The engine refuses one of the new rows after the deletion and the rename have run.
    test::refuseWrites(dm.DMADO, "refuse", test::Write::Insert, "部门分类", "new.二级部门 = '坏'", "refused");
    DepartmentEditor e(dm, 2, {"总部"});
    e.load();
    const Names before = rows();
    ui.answer(true);
    e.remove();              // 财务部
    e.setName(0, "人力部");  // 人事部
    e.add();
    e.setName(e.current, "坏");
    EXPECT_THROW(e.save(), db::DbError);
    EXPECT_EQ(rows(), before);
    EXPECT_TRUE(e.hasPendingChanges()) << "what the user did is still there to correct";
}

TEST_P(DepartmentTest, RefusalsAndDroppedEntries)
{
    const Names before = rows();
    // No stored upper level: a new row could never be listed.
    DepartmentEditor noUpper(dm, 3, {"总部", ""});
    noUpper.load();
    noUpper.add();
    EXPECT_EQ(ui.messages, Names{"请先填写上级部门！"});
    EXPECT_TRUE(noUpper.entries().empty());

    // Renaming to nothing is refused and nothing is written.
    DepartmentEditor e(dm, 1, {});
    e.load();
    e.setName(0, "");
    e.add();
    e.setName(e.current, "新厂");
    EXPECT_THROW(e.save(), db::Abort);
    EXPECT_EQ(ui.messages.back(), "部门名称不能为空！");
    EXPECT_EQ(rows(), before);

    // A name wider than the column is refused; a new entry left empty is dropped.
    std::string wide;
    for (int i = 0; i < 51; ++i) wide += "部";
    e.setName(0, wide);
    EXPECT_THROW(e.save(), db::Abort);
    EXPECT_EQ(ui.messages.back(), "部门名称不能超过50个字！");
    e.load();
    e.add();
    e.save();
    EXPECT_EQ(rows(), before);
}

}  // namespace
