#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/TDM.h"
#include "personnel/EmployeePages.h"
#include "personnel/EmployeeRecord.h"
#include "app/RecordEditor.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;
using db::DataSet;
using personnel::EmployeeRecord;
using app::RecordEditor;

class RecordEditorTest : public test::OnBothEngines {
protected:
    RecordEditorTest()
    {
        dm.DMADO.exec("insert into 员工基本情况 (员工编号, 姓名, 职务, 一级部门) values ('E01', '张三', '科员', '总部')");
        dm.DMADO.exec("insert into 培训课程 (课程编号, 培训名称) values ('C01', '安全培训')");
        dm.DMADO.exec("insert into 物品登记 (物品名称, 数量, 单价) values ('安全帽', 4, 12.5)");
        p.logIn("admin");
        dm.rszl.open();
        dm.pxkc.open();
        dm.wpdj.open();
        ui.onWindow("选择培训课程", [this] { dm.CoursePicked = true; });
        ui.onWindow("选择物品", [this] { dm.ArticlePicked = true; });
    }

    int count(const std::string& fromWhere) { return p.count(fromWhere); }

    // Acts as the editor window: created over the new row, one field typed, 保存, 返回.
    void editorSaves(const std::string& caption, const std::string& field, const std::string& text)
    {
        ui.onWindow(caption, [this, caption, field, text] {
            RecordEditor e(dm, *app::editorSpec(caption));
            e.activate();
            e.dataSet().setValue(field, text);
            e.save();
            EXPECT_TRUE(e.close());
        });
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true, .engine = engine()}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};
RSGZ_ON_BOTH_ENGINES(RecordEditorTest);

// 新增 on a list page runs the pickers, opens the page's editor, and what it saves is linked.
TEST_P(RecordEditorTest, NewOnEveryListPageEndsInAStoredLinkedRow)
{
    struct Case {
        int page;
        const char* field;
        const char* table;
    };
    const Case cases[] = {{2, "学校或者工作单位", "个人经历"}, {3, "姓名", "社会关系"}, {4, "证照编号", "证照列表"},
                          {5, "培训结果", "培训记录"}, {6, "调动类型", "调动记录"}, {8, "奖惩内容", "奖惩情况"},
                          {9, "工资等级", "工资晋升"}, {11, "领用备注", "物品领用"}};
    EmployeeRecord w(dm);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        const personnel::SubRecordPage& page = *personnel::subRecordPage(c.page);
        editorSaves(page.editor, c.field, "填写");
        w.setPage(c.page);
        ui.clear();
        ASSERT_TRUE(app::runAction([&] { w.pageAdd(); }));
        EXPECT_EQ(std::count(ui.windows.begin(), ui.windows.end(), std::string(page.editor)), 1);
        EXPECT_EQ(count(std::string(c.table) + " where 员工编号1 = 'E01' and " + c.field + " = '填写'"), 1);
        EXPECT_FALSE(dm.editorOpen.*app::editorSpec(page.editor)->flag);
    }
}

// Inside an open editor, 增加 and the Enter chain add rows without a second editor.
TEST_P(RecordEditorTest, AddingInsideAnEditorOpensNoSecondEditor)
{
    dm.gzjs.setSql("select * from 工资晋升 where 员工编号1 = 'E01'");
    dm.gzjs.open();
    RecordEditor e(dm, *app::editorSpec("工资变更"));
    e.add();
    e.dataSet().setValue("工资等级", "一级");
    ui.clear();
    EXPECT_EQ(e.enter("晋升后工资"), "备注");
    EXPECT_EQ(e.enter("备注"), "工资等级");  // posts the first row, appends the next
    EXPECT_TRUE(ui.windows.empty());
    EXPECT_EQ(e.dataSet().state(), DataSet::State::Insert);
    EXPECT_EQ(e.dataSet().asString("晋升前工资"), "0");
    EXPECT_EQ(e.dataSet().asString("晋升后工资"), "0");
    EXPECT_EQ(count("工资晋升 where 工资等级 = '一级'"), 1);
}

TEST_P(RecordEditorTest, EnterChains)
{
    struct Case {
        const char* editor;
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {"个人简历编辑", "起始日期", "结束日期"}, {"证照记录", "发证机构", "证照类型"}, {"证照记录", "证照名称", "证照名称"},
        {"社会关系", "姓名", "姓名"},          {"物品领用", "价值", "领用备注"},
    };
    for (const Case& c : cases) {
        RecordEditor e(dm, *app::editorSpec(c.editor));
        EXPECT_EQ(e.enter(c.from), c.to) << c.editor << " " << c.from;
    }
}

// 保存 on an empty list stores a new row with the defaults.
TEST_P(RecordEditorTest, SaveOnAnEmptyListStoresANewRow)
{
    dm.zzlb.setSql("select * from 证照列表 where 员工编号1 = 'E01'");
    dm.zzlb.open();
    RecordEditor e(dm, *app::editorSpec("证照记录"));
    ASSERT_TRUE(app::runAction([&] { e.save(); }));
    EXPECT_EQ(count("证照列表 where 员工编号1 = 'E01' and 取得日期 is not null"), 1);
}

// Closing never stores an untouched new row; a changed one is the user's call.
TEST_P(RecordEditorTest, ClosingSettlesThePendingRow)
{
    dm.grjl.setSql("select * from 个人经历 where 员工编号1 = 'E01'");
    dm.grjl.open();
    for (bool keep : {false, true}) {
        RecordEditor e(dm, *app::editorSpec("个人简历编辑"));
        e.add();
        ui.clear();
        ASSERT_TRUE(e.close());  // untouched: dropped without a question
        EXPECT_TRUE(ui.questions.empty());
        EXPECT_FALSE(e.dataSet().isEditing());
        e.add();
        e.dataSet().setValue("备注", "改过");
        ui.answer(keep);
        ASSERT_TRUE(e.close());
        EXPECT_EQ(ui.questions.size(), 1u);
        EXPECT_EQ(count("个人经历 where 备注 = '改过'"), keep ? 1 : 0);
    }
}

// The training editor's panel shows the current row's course.
TEST_P(RecordEditorTest, TrainingEditorShowsTheRowsCourse)
{
    dm.DMADO.exec("insert into 培训记录 (受培训人姓名, 员工编号1, 课程编号1) values ('张三', 'E01', 'C01')");
    dm.pxjl1.setSql("select * from 培训记录 where 员工编号1 = 'E01'");
    dm.pxjl1.open();
    RecordEditor e(dm, *app::editorSpec("培训记录"));
    e.activate();
    ASSERT_EQ(dm.pxkc.recordCount(), 1);
    EXPECT_EQ(dm.pxkc.asString("培训名称"), "安全培训");
}

// 选择经办人 / 选择批准人 in the transfer editor: the picked employee's name, and nothing when the
// picker was left without a pick, even if an earlier picker left PickResult at 1.
TEST_P(RecordEditorTest, TransferEditorTakesHandlerAndApproverFromTheEmployeePicker)
{
    dm.DMADO.exec("insert into 员工基本情况 (员工编号, 姓名) values ('E02', '李四')");
    dm.DMADO.exec("insert into 调动记录 (调动类型, 姓名, 员工编号1) values ('调入', '张三', 'E01')");
    dm.ddjl.setSql("select * from 调动记录 where 员工编号1 = 'E01'");
    dm.ddjl.open();
    auto pickSecond = [this] {
        dm.s4.close();
        dm.s4.setSql("select * from 员工基本情况 order by 员工编号");
        dm.s4.open();
        dm.s4.last();
        dm.PickResult = 1;
    };
    ui.onWindow("选择经办人", pickSecond);
    ui.onWindow("选择批准人", pickSecond);
    RecordEditor e(dm, *app::editorSpec("调动记录"));
    EXPECT_TRUE(e.pickPerson("经办人"));
    EXPECT_TRUE(e.pickPerson("批准人"));
    e.save();
    EXPECT_EQ(count("调动记录 where 经办人 = '李四' and 批准人 = '李四' and 员工编号1 = 'E01'"), 1);
    EXPECT_EQ(ui.windows, (std::vector<std::string>{"选择经办人", "选择批准人"}));

    ui.onWindow("选择批准人", [] {});  // closed without a pick
    dm.PickResult = 1;
    EXPECT_FALSE(e.pickPerson("批准人"));
    EXPECT_EQ(e.dataSet().state(), DataSet::State::Browse);
    EXPECT_FALSE(e.pickPerson("调动原因"));  // not a person field: no picker
    EXPECT_EQ(ui.windows.size(), 3u);
}

}  // namespace
