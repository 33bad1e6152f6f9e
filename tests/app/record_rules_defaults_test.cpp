// What a new row holds before the user types, and which windows its insert opens.
#include <algorithm>
#include <map>

#include "app/Interaction.h"

#include "app/RecordRulesFixture.h"

namespace rsgz::test {
namespace {

using Fields = std::map<std::string, std::string>;
using Windows = std::vector<std::string>;

void expectFields(const DataSet& ds, const Fields& expected)
{
    for (const auto& [field, text] : expected) EXPECT_EQ(ds.asString(field), text) << ds.name() << "." << field;
}

// Appends a row and checks what it holds before the user types and which windows the insert opened.
void expectNewRow(DataSet& ds, ScriptedInteraction& ui, const Fields& fields, const Windows& windows)
{
    ui.clear();
    ds.append();
    expectFields(ds, fields);
    EXPECT_EQ(ui.windows, windows);
}

class RecordRuleDefaults : public RecordRulesTest {};
RSGZ_ON_BOTH_ENGINES(RecordRuleDefaults);

struct DefaultsCase {
    const char* dataset;
    const char* sql;  // nullptr: the dataset's own statement
    int module;
    Fields fields;
    Windows windows;
};

TEST_P(RecordRuleDefaults, NewRowsGetTheirDefaultsAndOpenTheirWindow)
{
    const std::string today = "2024-05-17";
    const std::vector<DefaultsCase> cases = {
        {"rszl", nullptr, 1, {{"登记日期", today}, {"入职日期", today}, {"在职状况", "在职"}, {"工资核算", "是"}}, {}},
        {"grjl", nullptr, 1, {{"员工编号1", "E01"}}, {"个人简历编辑"}},
        {"shgx", nullptr, 1, {{"员工编号1", "E01"}}, {"社会关系"}},
        {"zzlb", nullptr, 1, {{"取得日期", today}, {"员工编号1", "E01"}}, {"证照记录"}},
        {"ddjl", nullptr, 1,
         {{"员工编号1", "E01"}, {"姓名", "张三"}, {"调动前一级部门", "总部"}, {"调动前二级部门", "财务部"},
          {"调动前三级部门", "会计科"}, {"调动前四级部门", "一组"}, {"调动前职务", "科员"}},
         {"调动记录"}},
        {"zcpd", nullptr, 1, {{"取得日期", today}, {"员工编号1", "E01"}, {"被评定人姓名", "张三"}}, {"职称评定管理"}},
        {"zcpd", nullptr, 3, {{"取得日期", today}, {"员工编号1", ""}, {"被评定人姓名", ""}}, {"职称评定管理"}},
        {"jcqk", nullptr, 1, {{"奖惩日期", today}, {"员工编号1", "E01"}, {"奖惩人姓名", "张三"}}, {"奖惩情况"}},
        {"jcqk", nullptr, 4, {{"奖惩日期", today}, {"员工编号1", ""}, {"奖惩人姓名", ""}}, {"奖惩数据管理"}},
        {"jcqk", nullptr, 3, {{"奖惩日期", today}, {"员工编号1", ""}}, {}},
        {"gzjs", nullptr, 1, {{"晋升日期", today}, {"员工编号1", "E01"}, {"晋升前工资", "0"}, {"晋升后工资", "0"}},
         {"工资变更"}},
        {"pxkc", nullptr, 2, {{"培训总费用", "0"}}, {}},
        {"wpdj", nullptr, 8, {{"登记日期", today}, {"数量", "0"}, {"发出", "0"}, {"剩余", "0"}, {"单价", "0"}}, {}},
        {"wplyjl", nullptr, 8,
         {{"领用日期", today}, {"物品编号", "1"}, {"物品", "安全帽"}, {"数量", "1"}, {"价值", "12.5"}}, {}},
        {"kpxm", nullptr, 7, {{"登记日期", today}, {"通过人数", "0"}, {"参加人数", "0"}, {"未通过人数", "0"}}, {}},
        {"kpjl", nullptr, 7, {{"考评日期", today}, {"考评编号1", "KP01"}, {"考评人1", "王五"}, {"考评分数", "0"}}, {}},
        {"zidian", "select * from 数据字典", 1, {{"字段名称", "职务"}}, {}},
        {"jcsz", nullptr, 0, {{"字段名称", "职务"}}, {}},
        {"qxgl", nullptr, 0,
         {{"档案管理", "True"}, {"权限管理", "True"}, {"结帐处理", "True"}, {"证照列表", "False"}, {"工资变更", "False"},
          {"姓名", ""}},
         {}},
        {"gz_zt", nullptr, 9, {}, {"帐套数据编辑"}},
        {"sds_set", nullptr, 0, {{"起始额", "0"}, {"结束额", "0"}, {"税率", "0"}, {"速扣", "0"}}, {}},
        {"gzdj_gzxm", nullptr, 0, {{"金额", "0"}, {"工资等级", "一级"}, {"工资项目", ""}}, {}},
    };
    seed();
    tdm.CurrentDictionaryKey = "职务";
    for (const DefaultsCase& c : cases) {
        SCOPED_TRACE(std::string(c.dataset) + " in module " + std::to_string(c.module));
        DataSet& ds = *tdm.dataSet(c.dataset);
        if (c.sql) ds.setSql(c.sql);
        if (!ds.active()) ds.open();
        tdm.CurrentModule = c.module;
        expectNewRow(ds, ui, c.fields, c.windows);
        EXPECT_TRUE(ui.messages.empty());
        ds.cancel();
    }
}

TEST_P(RecordRuleDefaults, TodayIsReadAtTheMomentOfEachInsertAndPost)
{
    seed();
    tdm.rszl.edit();
    tdm.rszl.post();
    EXPECT_EQ(tdm.rszl.asString("修改日期"), "2024-05-17");

    clock = clock.addDays(1);
    tdm.rszl.edit();  // nothing else changes: the date moves all the same
    tdm.rszl.post();
    EXPECT_EQ(tdm.rszl.asString("修改日期"), "2024-05-18");
    tdm.rszl.append();
    EXPECT_EQ(tdm.rszl.asString("登记日期"), "2024-05-18");
}

// An editor that is open already shows the new row itself: no second window.
TEST_P(RecordRuleDefaults, AnOpenEditorIsNotOpenedAgain)
{
    struct EditorCase {
        const char* dataset;
        bool app::TDM::EditorOpen::*flag;
        const char* editor;
    };
    const std::vector<EditorCase> cases = {
        {"grjl", &app::TDM::EditorOpen::grjl, "个人简历编辑"}, {"shgx", &app::TDM::EditorOpen::shgx, "社会关系"},
        {"zzlb", &app::TDM::EditorOpen::zzlb, "证照记录"},     {"ddjl", &app::TDM::EditorOpen::ddjl, "调动记录"},
        {"zcpd", &app::TDM::EditorOpen::zcpd, "职称评定管理"}, {"jcqk", &app::TDM::EditorOpen::jcqk, "奖惩情况"},
        {"gzjs", &app::TDM::EditorOpen::gzjs, "工资变更"},     {"wply", &app::TDM::EditorOpen::wply, "物品领用"},
        {"pxjl1", &app::TDM::EditorOpen::pxjl, "培训记录"},
    };
    seed();
    tdm.CurrentModule = 1;
    ui.onWindow("选择物品", [this] { tdm.ArticlePicked = true; });
    ui.onWindow("选择培训课程", [this] { tdm.CoursePicked = true; });
    for (const EditorCase& c : cases) {
        SCOPED_TRACE(c.dataset);
        DataSet& ds = *tdm.dataSet(c.dataset);
        ds.open();
        for (bool open : {false, true}) {
            tdm.editorOpen.*c.flag = open;
            ui.clear();
            ds.append();
            const bool shown = std::find(ui.windows.begin(), ui.windows.end(), c.editor) != ui.windows.end();
            EXPECT_EQ(shown, !open) << "editor flag " << open;
            ds.cancel();
        }
    }
}

struct PickerCase {
    const char* dataset;
    bool picked;
    Fields fields;
    Windows windows;
};

// A picker closed without a choice leaves only what does not depend on the choice. The result
// members still hold an earlier pick when the insert starts: a picker that is not answered must not
// reuse it.
TEST_P(RecordRuleDefaults, PickersDecideWhatANewRowTakes)
{
    const std::string today = "2024-05-17";
    const std::vector<PickerCase> cases = {
        {"ddjl1", true,
         {{"调动日期", today}, {"姓名", "李四"}, {"员工编号1", "E02"}, {"调动前一级部门", "分厂"},
          {"调动前二级部门", "生产部"}, {"调动前三级部门", "装配科"}, {"调动前四级部门", "二组"}, {"调动前职务", "科长"}},
         {"选择被调动人"}},
        {"ddjl1", false, {{"调动日期", today}, {"姓名", ""}, {"员工编号1", ""}, {"调动前一级部门", ""}, {"调动前职务", ""}},
         {"选择被调动人"}},
        {"wply", true,
         {{"员工编号1", "E01"}, {"领用人姓名", "张三"}, {"领用日期", today}, {"物品", "安全帽"}, {"物品编号", "1"},
          {"数量", "1"}},
         {"选择物品", "物品领用"}},
        {"pxjl1", true, {{"员工编号1", "E01"}, {"受培训人姓名", "张三"}, {"培训费用", "0"}, {"课程编号1", "C01"}},
         {"选择培训课程", "培训记录"}},
    };
    seed();
    tdm.CurrentModule = 1;
    for (const PickerCase& c : cases) {
        SCOPED_TRACE(std::string(c.dataset) + (c.picked ? " picked" : " cancelled"));
        tdm.PickResult = 1;
        tdm.ArticlePicked = tdm.CoursePicked = true;
        ui.windowActions.clear();
        if (c.picked) {
            ui.onWindow("选择被调动人", [this] {
                open(tdm.s4, "select * from 员工基本情况").next();
                tdm.PickResult = 1;
            });
            ui.onWindow("选择物品", [this] { tdm.ArticlePicked = true; });
            ui.onWindow("选择培训课程", [this] { tdm.CoursePicked = true; });
        }
        DataSet& ds = *tdm.dataSet(c.dataset);
        ds.open();
        expectNewRow(ds, ui, c.fields, c.windows);
        ds.cancel();
    }
}

// A course or article picker closed without a choice abandons the insertion: no half row is left
// to be posted by the next move, and no editor opens on it.
TEST_P(RecordRuleDefaults, ACancelledArticleOrCoursePickerAddsNoRow)
{
    seed();
    tdm.CurrentModule = 1;
    for (const char* name : {"wply", "pxjl1"}) {
        SCOPED_TRACE(name);
        tdm.ArticlePicked = tdm.CoursePicked = true;  // an earlier pick must not count
        ui.clear();
        DataSet& ds = *tdm.dataSet(name);
        ds.open();
        const int before = ds.recordCount();
        EXPECT_FALSE(app::runAction([&ds] { ds.append(); }));
        EXPECT_EQ(ds.state(), DataSet::State::Browse);
        EXPECT_EQ(ds.recordCount(), before);
        EXPECT_EQ(ui.windows.size(), 1u) << "only the picker opens";
        EXPECT_TRUE(ui.errors.empty());
    }
}

// The training window enrols attendees itself: no picker, no editor and no check on their rows.
TEST_P(RecordRuleDefaults, TrainingRecordRulesCanBeSwitchedOff)
{
    seed();
    tdm.CurrentModule = 1;
    tdm.TrainingRulesOff = true;
    tdm.pxjl1.open();
    tdm.pxjl1.append();
    tdm.pxjl1.setValue("员工编号1", "E02");
    tdm.pxjl1.post();
    EXPECT_TRUE(ui.windows.empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(tdm.pxjl1.asString("员工编号1"), "E02");

    tdm.TrainingRulesOff = false;
    ui.onWindow("选择培训课程", [this] { tdm.CoursePicked = true; });
    tdm.pxjl1.append();
    EXPECT_EQ(ui.windows, (Windows{"选择培训课程", "培训记录"}));
    tdm.pxjl1.setValue("受培训人姓名", "");
    EXPECT_FALSE(app::runAction([this] { tdm.pxjl1.post(); }));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"姓名不能为空!"});
}

TEST_P(RecordRuleDefaults, AgesAndYearsOfServiceCountWholeYearsOf365Point25Days)
{
    struct AgeCase {
        const char* born;
        QDateTime now;
        int age;
    };
    const QDate firstOfMarch2001(2001, 3, 1);
    const std::vector<AgeCase> cases = {
        {"2000-03-01", QDateTime(firstOfMarch2001, QTime(5, 59)), 0},
        {"2000-03-01", QDateTime(firstOfMarch2001, QTime(6, 0)), 1},
        {"2000-03-01", QDateTime(QDate(2024, 5, 17), QTime(0, 0)), 24},
        {"", QDateTime(firstOfMarch2001, QTime(6, 0)), 0},
        // A date still to come counts the same way.
        {"2001-03-01", QDateTime(QDate(2000, 2, 29), QTime(18, 0)), 1},
        {"2001-03-01", QDateTime(QDate(2000, 2, 29), QTime(18, 1)), 0},
    };
    exec("insert into 员工基本情况 (员工编号, 姓名) values ('E01', '张三')");
    tdm.rszl.open();
    for (const AgeCase& c : cases) {
        SCOPED_TRACE(std::string(c.born) + " at " + c.now.toString().toStdString());
        tdm.rszl.edit();
        tdm.rszl.setValue("出生年月", c.born);
        tdm.rszl.post();
        clock = c.now;
        EXPECT_EQ(tdm.rszl.asInt("年龄"), c.age);
    }

    // Each of the three counts from its own date.
    tdm.rszl.edit();
    tdm.rszl.setValue("出生年月", "1990-01-01");
    tdm.rszl.setValue("入职日期", "2020-01-01");
    tdm.rszl.setValue("参加工作", "2010-01-01");
    tdm.rszl.post();
    clock = QDateTime(QDate(2024, 5, 17), QTime(12, 0));
    EXPECT_EQ(tdm.rszl.asInt("年龄"), 34);
    EXPECT_EQ(tdm.rszl.asInt("本单位工龄"), 4);
    EXPECT_EQ(tdm.rszl.asInt("工龄"), 14);
}

TEST_P(RecordRuleDefaults, ArticleAmountIsQuantityTimesUnitPrice)
{
    exec("insert into 物品登记 (物品名称, 数量, 单价) values ('手套', 4, 2.25), ('雨衣', 3, 0.3333), ('空', null, 5)");
    tdm.wpdj.open();
    EXPECT_EQ(tdm.wpdj.asMoney("金额"), db::Money::fromUnits(90000));
    tdm.wpdj.next();
    EXPECT_EQ(tdm.wpdj.asMoney("金额"), db::Money::fromUnits(9999));
    tdm.wpdj.next();
    EXPECT_EQ(tdm.wpdj.asMoney("金额"), db::Money());
    EXPECT_EQ(tdm.wpdj.fieldByName("金额").type, db::FieldType::Currency);
}

}  // namespace
}  // namespace rsgz::test
