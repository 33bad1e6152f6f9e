// Checks before insert and post, questions before delete, the employee link, status text and the
// flags that tell windows a list moved.
#include "app/Interaction.h"
#include "app/RecordRulesFixture.h"
#include "db/SqlText.h"

namespace rsgz::test {
namespace {

using Texts = std::vector<std::string>;

RSGZ_ON_BOTH_ENGINES(RecordRulesTest);

struct RequiredCase {
    const char* dataset;
    const char* table;
    std::vector<std::pair<const char*, const char*>> checks;  // field, message, in the order they run
};

// Each check refuses with its own message while its field is empty and the earlier ones are filled;
// the row stays being inserted and nothing is stored. With every field filled the row is stored.
TEST_P(RecordRulesTest, PostIsRefusedWhileARequiredValueIsEmpty)
{
    const std::vector<RequiredCase> cases = {
        {"rszl", "员工基本情况", {{"员工编号", "员工编号不能为空!"}, {"姓名", "姓名不能为空!"}}},
        // Outside the records module a reward also needs its person.
        {"jcqk", "奖惩情况", {{"奖惩内容", "奖惩内容不能为空!"}, {"员工编号1", "员工编号不能为空!"}}},
        // 培训记录: the attendee check is in TrainingRecordRulesCanBeSwitchedOff (its new rows need a course).
        {"pxkc", "培训课程", {{"课程编号", "课程编号不能为空！"}, {"培训名称", "培训名称不能为空！"}}},
        {"ddjl1", "调动记录", {{"员工编号1", "员工编号不能为空!"}, {"姓名", "姓名不能为空!"}}},
        {"wpdj", "物品登记", {{"物品名称", "物品名称不能为空！"}}},
        {"wplyjl", "物品领用", {{"员工编号1", "员工编号不能为空!"}, {"领用人姓名", "姓名不能为空!"}}},
        {"kpxm", "考评项目表", {{"考评编号", "考评编号不能为空!"}}},
        {"gzb", "工资表",
         {{"姓名", "姓名不能为空！"}, {"工资帐套", "工资帐套不能为空！"}, {"员工编号", "员工编号不能为空！"}}},
        {"jjgz", "计件工资", {{"姓名", "姓名不能为空！"}, {"员工编号1", "员工编号1不能为空！"}}},
        {"jsgz", "计时工资", {{"姓名", "姓名不能为空！"}, {"员工编号", "员工编号不能为空！"}}},
        {"gzdj_gzxm", "默认工资等级值", {{"工资项目", "请填写工资项目名称！"}}},
    };
    seed();
    for (const RequiredCase& c : cases) {
        SCOPED_TRACE(c.dataset);
        DataSet& ds = *tdm.dataSet(c.dataset);
        ds.open();
        const int stored = rowsIn(c.table);
        ds.append();
        for (const auto& [field, message] : c.checks) {
            ui.clear();
            EXPECT_FALSE(app::runAction([&] { ds.post(); }));
            EXPECT_EQ(ui.messages, Texts{message});
            EXPECT_TRUE(ui.errors.empty());
            EXPECT_EQ(ds.state(), DataSet::State::Insert);
            ds.setValue(field, "N1");
        }
        ui.clear();
        EXPECT_TRUE(app::runAction([&] { ds.post(); }));
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(rowsIn(c.table), stored + 1);
    }
}

TEST_P(RecordRulesTest, InsertIsRefusedWhileTheMasterListIsEmpty)
{
    struct InsertCase {
        const char* dataset;
        const char* master;
        const char* message;  // nullptr: refused without a word
    };
    const std::vector<InsertCase> cases = {
        {"grjl", "rszl", "无员工数据,不能添加个人简历!"},
        {"kpjl", "kpxm", "无考评项目，不能增加考评记录！"},
        {"zt_mx", "gz_zt", "无帐套数据!"},
        {"gzdj_gzxm", "gzdj", nullptr},
    };
    for (const InsertCase& c : cases) {
        SCOPED_TRACE(c.dataset);
        tdm.dataSet(c.master)->open();
        DataSet& ds = *tdm.dataSet(c.dataset);
        ds.open();
        ui.clear();
        EXPECT_FALSE(app::runAction([&] { ds.append(); }));
        EXPECT_EQ(ui.messages, c.message ? Texts{c.message} : Texts{});
        EXPECT_TRUE(ui.errors.empty());
        EXPECT_EQ(ds.state(), DataSet::State::Browse);
        EXPECT_EQ(ds.rowCount(), 0);
    }

    // Social relations need no employee: the row is added with an empty link.
    tdm.shgx.open();
    tdm.shgx.append();
    EXPECT_EQ(tdm.shgx.state(), DataSet::State::Insert);
    EXPECT_TRUE(tdm.shgx.isNull("员工编号1"));
}

// 否 (or a closed question window) keeps the row and says nothing more; 是 deletes it.
TEST_P(RecordRulesTest, DeleteAsksItsQuestionAndDeletesOnlyOnYes)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"rszl", "删除当前员工数据吗?"},
        {"grjl", "删除当前员工个人简历数据吗?"},
        {"shgx", "删除当前员工社会关系数据吗?"},
        {"zzlb", "删除当前员工证件记录数据吗?"},
        {"ddjl", "删除当前员工调动记录吗?"},
        {"zcpd", "删除当前职称评定记录吗?"},
        {"jcqk", "删除当前员工奖惩记录吗?"},
        {"gzjs", "删除当前员工工资记录变更数据吗?"},
        {"wply", "删除当前员工物品领用记录数据吗?"},
        {"pxjl1", "删除当前培训记录吗?"},
        {"pxkc", "删除当前培训课程记录吗?"},
        {"ddjl1", "删除当前调动记录吗?"},
        {"wpdj", "删除当前物品登记记录吗?"},
        {"wplyjl", "删除当前员工领用物品记录吗?"},
        {"kpxm", "删除当前考评项目记录吗?"},
        {"kpjl", "删除当前考评人员记录吗?"},
        {"zidian", "删除当前字典数据吗?"},
        {"jcsz", "删除当前设置数据吗?"},
        {"qxgl", "删除当前权限管理记录吗?"},
        {"gz_zt", "删除当前工资帐套数据吗?"},
        {"zt_mx", "删除当前帐套明细数据吗?"},
        {"gzb", "删除当前员工工资记录吗?"},
        {"sds_set", "删除当前记录吗?"},
        {"jjgz", "删除当前计件数据吗?"},
        {"jsgz", "删除当前计时工资数据吗?"},
        {"gzxmd", "删除当前工资项目数据吗?"},
        {"gzdj", "删除当前工资等级数据吗?"},
        {"gzdj_gzxm", "删除当前工资项目预设值记录吗?"},
    };
    exec("insert into 数据字典 (字段名称, 字典内容) values ('职务', '科员')");
    for (const auto& [name, question] : cases) {
        SCOPED_TRACE(name);
        DataSet& ds = *tdm.dataSet(name);
        if (ds.sqlLines().empty()) ds.setSql("select * from 数据字典");
        ds.open();
        if (ds.isEmpty()) exec("insert into " + db::sqlIdent(ds.baseTable()) + " default values");
        ds.requery();
        const int rows = ds.recordCount();
        ui.clear();
        EXPECT_FALSE(app::runAction([&] { ds.remove(); }));
        EXPECT_EQ(ui.questions, Texts{question});
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(ds.recordCount(), rows);

        ui.answer(true);
        EXPECT_TRUE(app::runAction([&] { ds.remove(); }));
        EXPECT_EQ(ds.recordCount(), rows - 1);
    }
}

TEST_P(RecordRulesTest, AnIssuedArticleCannotBeDeletedUntilItsIssuesAreGone)
{
    seed();
    tdm.wplyjl.open();
    tdm.wplyjl.append();
    tdm.wplyjl.setValue("员工编号1", "E01");
    tdm.wplyjl.setValue("领用人姓名", "张三");
    tdm.wplyjl.post();

    ui.clear();
    ui.answer(true);
    EXPECT_FALSE(app::runAction([&] { tdm.wpdj.remove(); }));
    EXPECT_EQ(ui.messages, Texts{"此物品有发放记录,不能删除!"});
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(rowsIn("物品登记"), 1);

    tdm.wplyjl.remove();  // answered 是 above, the answer is still queued
    ui.clear();
    ui.answer(true);
    EXPECT_TRUE(app::runAction([&] { tdm.wpdj.remove(); }));
    EXPECT_EQ(ui.questions, Texts{"删除当前物品登记记录吗?"});
    EXPECT_EQ(rowsIn("物品登记"), 0);
}

// In the records module a sub-record follows the employee on screen when it is saved; elsewhere (and
// always for rewards and penalties) it keeps the employee its own window gave it.
TEST_P(RecordRulesTest, SubRecordsAreLinkedToTheCurrentEmployeeOnPostOnlyInModuleOne)
{
    struct LinkCase {
        const char* dataset;
        const char* table;
        const char* required;  // a value the row needs to be stored
        int module;
        const char* linked;
    };
    const std::vector<LinkCase> cases = {
        {"grjl", "个人经历", nullptr, 1, "E02"},
        {"grjl", "个人经历", nullptr, 3, "E09"},
        {"zcpd", "职称评定", nullptr, 1, "E02"},
        {"zcpd", "职称评定", nullptr, 3, "E09"},
        {"wply", "物品领用", nullptr, 1, "E02"},
        {"pxjl1", "培训记录", "受培训人姓名", 1, "E02"},
        {"pxjl1", "培训记录", "受培训人姓名", 2, "E09"},
        {"jcqk", "奖惩情况", "奖惩内容", 1, "E09"},
    };
    seed();
    tdm.rszl.next();  // 李四, E02
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(std::string(c.dataset) + " in module " + std::to_string(c.module));
        exec(std::string("delete from ") + c.table);
        exec(std::string("insert into ") + c.table + " (员工编号1) values ('E09')");
        DataSet& ds = *tdm.dataSet(c.dataset);
        ds.open();
        tdm.CurrentModule = c.module;
        ds.edit();
        if (c.required) ds.setValue(c.required, "有");
        ds.post();
        EXPECT_EQ(ds.asString("员工编号1"), c.linked);
    }
}

TEST_P(RecordRulesTest, StatusTextFollowsTheCurrentRow)
{
    tdm.rszl.open();
    EXPECT_EQ(status.back(), "-1/0");
    tdm.rszl.append();
    EXPECT_EQ(status.back(), "-1/0");
    tdm.rszl.cancel();

    seed();
    EXPECT_TRUE(status.empty());
    tdm.rszl.requery();
    EXPECT_EQ(status.back(), "1/2");
    tdm.rszl.next();
    EXPECT_EQ(status.back(), "2/2");
    tdm.rszl.append();
    EXPECT_EQ(status.back(), "-1/2");
}

// The training lists leave the previous text when an open finds nothing.
TEST_P(RecordRulesTest, TrainingListsWriteNoStatusForAnEmptyResult)
{
    for (DataSet* ds : {&tdm.pxjl, &tdm.pxjl1}) {
        SCOPED_TRACE(ds->name());
        tdm.showStatus("3/7");
        ds->open();
        EXPECT_EQ(status.back(), "3/7");
    }
    exec("insert into 培训记录 (受培训人姓名) values ('张三')");
    tdm.pxjl1.open();
    EXPECT_EQ(status.back(), "1/1");
    tdm.pxjl1.close();
    tdm.pxjl1.setSql("select * from 培训记录 where 1=0");
    tdm.pxjl1.open();
    EXPECT_EQ(status.back(), "1/1");
    tdm.TrainingRulesOff = true;  // no course picker: this is about the status text only
    tdm.pxjl1.append();  // a move, not an open: written even on the empty list
    EXPECT_EQ(status.back(), "-1/0");
}

// Piece and time wages also report after a post, which moves nothing.
TEST_P(RecordRulesTest, WageListsWriteStatusAfterPost)
{
    for (const char* name : {"jjgz", "jsgz"}) {
        SCOPED_TRACE(name);
        DataSet& ds = *tdm.dataSet(name);
        ds.open();
        ds.append();
        ds.setValue("姓名", "张三");
        ds.setValue(ds.fieldIndex("员工编号1") >= 0 ? "员工编号1" : "员工编号", "E01");
        status.clear();
        ds.post();
        EXPECT_EQ(status, Texts{"1/1"});
    }
}

TEST_P(RecordRulesTest, MovingAMasterListRaisesItsFlag)
{
    exec("insert into 培训课程 (课程编号, 培训名称) values ('C01', 'a'), ('C02', 'b')");
    exec("insert into 帐套 (帐套编号) values ('01'), ('02')");
    exec("insert into 物品登记 (物品名称) values ('a'), ('b')");
    exec("insert into 考评项目表 (考评编号) values ('K1'), ('K2')");
    const std::vector<std::pair<DataSet*, bool*>> cases = {
        {&tdm.pxkc, &tdm.CourseChanged},
        {&tdm.gz_zt, &tdm.SetMoved},
        {&tdm.wpdj, &tdm.ItemChanged},
        {&tdm.kpxm, &tdm.ItemChanged},
    };
    for (auto [ds, flag] : cases) {
        SCOPED_TRACE(ds->name());
        ds->open();
        *flag = false;
        ds->next();
        EXPECT_TRUE(*flag);
    }
}

}  // namespace
}  // namespace rsgz::test
