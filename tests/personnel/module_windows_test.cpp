#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Interaction.h"
#include "app/ModuleInfo.h"
#include "app/TDM.h"
#include "personnel/ArticleIssue.h"
#include "personnel/EmployeePicker.h"
#include "personnel/EvaluationManagement.h"
#include "personnel/PersonRecordEditor.h"
#include "personnel/TrainingManagement.h"
#include "personnel/TransferManagement.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;
using db::DataSet;
using Numbers = std::vector<std::string>;

class ModuleWindowsTest : public test::OnBothEngines {
protected:
    ModuleWindowsTest()
    {
        exec("insert into 员工基本情况 (员工编号, 姓名, 职务, 一级部门, 二级部门, 三级部门, 四级部门, 工资帐套名称) values "
             "('E01', '张三', '科员', '总部', '财务部', '会计科', '一组', '管理人员'), "
             "('E02', '李四', '科长', '分厂', '生产部', '装配科', '二组', '工人'), "
             "('E03', 'O''Neil', '科员', '分厂', null, null, null, null)");
        p.logIn("admin");
    }

    void exec(const std::string& sql) { dm.DMADO.exec(sql); }
    int count(const std::string& fromWhere) { return p.count(fromWhere); }

    // The user picks these employees in the picker opened under the caption.
    void picks(const std::string& caption, const Numbers& numbers)
    {
        ui.onWindow(caption, [this, caption, numbers] {
            personnel::EmployeePicker picker(dm, caption);
            picker.open();
            for (const std::string& n : numbers) {
                ASSERT_TRUE(dm.s4.locate("员工编号", db::Value(n)));
                if (picker.mode() == personnel::PickMode::Multiple) picker.chooseCurrent();
            }
            picker.finish();
        });
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true, .engine = engine()}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};

// One master/detail window as the tests drive it: its master list and the detail rows of a master.
struct MasterDetail {
    const char* name;
    const char* picker;
    const char* detailTable;
    const char* link;  // the detail column holding the master's key
    std::function<void(ModuleWindowsTest&, app::TDM&)> seed;  // one stored master
    std::function<DataSet&(app::TDM&)> master;
    const char* keyField;
    std::function<void(DataSet&)> fillNewMaster;  // a new master the rules accept
};

class MasterDetailWindow {
public:
    virtual ~MasterDetailWindow() = default;
    virtual void activate() = 0;
    virtual void addMaster() = 0;
    virtual void choose() = 0;
    virtual void removeAll() = 0;
};

template <class W>
class Driven : public MasterDetailWindow {
public:
    Driven(app::TDM& dm, void (W::*add)(), void (W::*choose)(), void (W::*all)())
        : w_(dm), add_(add), choose_(choose), all_(all) {}
    void activate() override { w_.activate(); }
    void addMaster() override { (w_.*add_)(); }
    void choose() override { (w_.*choose_)(); }
    void removeAll() override { (w_.*all_)(); }

private:
    W w_;
    void (W::*add_)();
    void (W::*choose_)();
    void (W::*all_)();
};
RSGZ_ON_BOTH_ENGINES(ModuleWindowsTest);

std::unique_ptr<MasterDetailWindow> makeWindow(const std::string& name, app::TDM& dm)
{
    using namespace personnel;
    if (name == "training")
        return std::make_unique<Driven<TrainingManagement>>(dm, &TrainingManagement::addCourse,
                                                            &TrainingManagement::chooseAttendees,
                                                            &TrainingManagement::removeAllAttendees);
    if (name == "evaluation")
        return std::make_unique<Driven<EvaluationManagement>>(dm, &EvaluationManagement::addItem,
                                                              &EvaluationManagement::chooseParticipants,
                                                              &EvaluationManagement::removeAllParticipants);
    return std::make_unique<Driven<ArticleIssue>>(dm, &ArticleIssue::addArticle, &ArticleIssue::issueToChosen,
                                                  &ArticleIssue::removeAllIssues);
}

const std::vector<MasterDetail>& windows()
{
    static const std::vector<MasterDetail> all = {
        {"training", "选择受培训人员", "培训记录", "课程编号1",
         [](ModuleWindowsTest&, app::TDM& dm) { dm.DMADO.exec("insert into 培训课程 (课程编号, 培训名称) values ('C01', '安全培训')"); },
         [](app::TDM& dm) -> DataSet& { return dm.pxkc; }, "课程编号",
         [](DataSet& ds) {
             ds.setValue("课程编号", "C02");
             ds.setValue("培训名称", "消防");
         }},
        {"evaluation", "选择参加考评人员", "考评情况", "考评编号1",
         [](ModuleWindowsTest&, app::TDM& dm) { dm.DMADO.exec("insert into 考评项目表 (考评编号, 考评人, 参加人数) values ('KP01', '王五', 0)"); },
         [](app::TDM& dm) -> DataSet& { return dm.kpxm; }, "考评编号",
         [](DataSet& ds) { ds.setValue("考评编号", "KP02"); }},
        {"articles", "选择人员发放物品", "物品领用", "物品编号",
         [](ModuleWindowsTest&, app::TDM& dm) { dm.DMADO.exec("insert into 物品登记 (物品名称, 数量, 单价) values ('安全帽', 4, 12.5)"); },
         [](app::TDM& dm) -> DataSet& { return dm.wpdj; }, "编号",
         [](DataSet& ds) { ds.setValue("物品名称", "工作服"); }},
    };
    return all;
}

std::string linkOf(const MasterDetail& c, DataSet& master) { return master.asString(c.keyField); }

// Details chosen while their master is still being typed belong to it once it is stored; a master
// the rules refuse gets no details and the picker is not even opened.
TEST_P(ModuleWindowsTest, ANewMasterIsStoredBeforeItsDetailsOrNothingIsAdded)
{
    for (const MasterDetail& c : windows()) {
        SCOPED_TRACE(c.name);
        c.seed(*this, dm);
        picks(c.picker, {"E01", "E02"});
        auto w = makeWindow(c.name, dm);
        w->activate();
        DataSet& master = c.master(dm);

        w->addMaster();  // left empty: refused
        ui.clear();
        EXPECT_FALSE(app::runAction([&] { w->choose(); }));
        EXPECT_EQ(ui.messages.size(), 1u);
        EXPECT_TRUE(ui.windows.empty()) << "no picker for a refused master";
        EXPECT_EQ(count(c.detailTable), 0);

        c.fillNewMaster(master);
        ASSERT_TRUE(app::runAction([&] { w->choose(); }));
        ASSERT_FALSE(master.isEditing());
        const std::string key = linkOf(c, master);
        ASSERT_FALSE(key.empty() || key == "0");
        EXPECT_EQ(count(std::string(c.detailTable) + " where " + c.link + " = '" + key + "'"), 2);
        EXPECT_EQ(count(c.detailTable), 2) << "no detail row with an empty link";
        if (std::string(c.name) == "evaluation") EXPECT_EQ(master.asInt("参加人数"), 2);
    }
}

// Several employees are added as one unit: an error on the second leaves none of them stored or shown.
TEST_P(ModuleWindowsTest, AddingSeveralEmployeesIsAllOrNothing)
{
    for (const MasterDetail& c : windows()) {
        SCOPED_TRACE(c.name);
        c.seed(*this, dm);
        test::refuseWrites(dm.DMADO, std::string("refuse_") + c.name, test::Write::Insert, c.detailTable,
                           "new.员工编号1 = 'E02'", "refused");
        picks(c.picker, {"E01", "E02", "E03"});
        auto w = makeWindow(c.name, dm);
        w->activate();
        ui.clear();
        EXPECT_FALSE(app::runAction([&] { w->choose(); }));
        EXPECT_EQ(ui.errors.size(), 1u);
        EXPECT_EQ(count(c.detailTable), 0);
        const char* detail = std::string(c.name) == "training" ? "pxjl1" : std::string(c.name) == "evaluation" ? "kpjl" : "wplyjl";
        EXPECT_EQ(dm.dataSet(detail)->recordCount(), 0) << "the list shows what is stored";
        EXPECT_FALSE(dm.dataSet(detail)->isEditing());
    }
}

// 删除下表全部记录 asks once per row, from whatever row is current, and stops for good at the first
// 否 or the first failed delete instead of asking again and again.
TEST_P(ModuleWindowsTest, DeleteAllIsBoundedAndStopsAtTheFirstRefusal)
{
    for (const MasterDetail& c : windows()) {
        SCOPED_TRACE(c.name);
        c.seed(*this, dm);
        picks(c.picker, {"E01", "E02", "E03"});
        auto w = makeWindow(c.name, dm);
        w->activate();
        const char* detail = std::string(c.name) == "training" ? "pxjl1" : std::string(c.name) == "evaluation" ? "kpjl" : "wplyjl";
        DataSet& rows = *dm.dataSet(detail);
        const std::string mine = std::string(c.detailTable);

        ASSERT_TRUE(app::runAction([&] { w->choose(); }));
        ASSERT_EQ(rows.recordCount(), 3);
        ui.clear();
        ui.answers = {true, false, true};
        EXPECT_FALSE(app::runAction([&] { w->removeAll(); }));
        EXPECT_EQ(ui.questions.size(), 2u) << "否 ends the run";
        EXPECT_EQ(count(mine), 2);
        if (std::string(c.name) == "evaluation") EXPECT_EQ(c.master(dm).asInt("参加人数"), 2);

        // A delete that fails is not tried again: one question, one error, both rows kept.
        test::refuseWrites(dm.DMADO, "keep_rows", test::Write::Delete, mine, "", "kept");
        ui.clear();
        ui.answers.assign(10, true);
        EXPECT_FALSE(app::runAction([&] { w->removeAll(); }));
        EXPECT_EQ(ui.questions.size(), 1u);
        EXPECT_EQ(ui.errors.size(), 1u);
        EXPECT_EQ(count(mine), 2);
        test::dropRefusal(dm.DMADO, "keep_rows", mine);

        // Started on the last row, a run answered 是 throughout empties the list.
        rows.requery();
        rows.last();
        ui.answers.assign(10, true);
        ui.clear();
        EXPECT_TRUE(app::runAction([&] { w->removeAll(); }));
        EXPECT_EQ(ui.questions.size(), 2u);
        EXPECT_EQ(count(mine), 0);
        if (std::string(c.name) == "evaluation") EXPECT_EQ(c.master(dm).asInt("参加人数"), 0);
    }
}

// The training window switches off the course picker and the name check of new training records,
// and every way out of it switches them on again.
TEST_P(ModuleWindowsTest, TrainingRulesComeBackOnEveryWayOut)
{
    exec("insert into 培训课程 (课程编号, 培训名称) values ('C01', '安全培训')");
    const std::vector<std::pair<const char*, std::function<void(personnel::TrainingManagement&)>>> ways = {
        {"返回主窗口", [](personnel::TrainingManagement& w) { EXPECT_TRUE(w.close()); }},
        {"close box over a new course, not saved",
         [this](personnel::TrainingManagement& w) {
             w.addCourse();
             dm.pxkc.setValue("培训名称", "未保存");
             ui.answer(false);
             EXPECT_TRUE(w.close());
         }},
        {"an error while open", [](personnel::TrainingManagement&) { throw db::DbError(db::DbError::Kind::Other, "broken"); }},
    };
    for (const auto& [way, leave] : ways) {
        SCOPED_TRACE(way);
        app::runAction([&] {
            personnel::TrainingManagement w(dm);
            w.activate();
            EXPECT_TRUE(dm.TrainingRulesOff);
            leave(w);
        });
        EXPECT_FALSE(dm.TrainingRulesOff);
        // Back on: a new training record elsewhere asks for its course again.
        dm.rszl.open();
        dm.pxjl1.close();
        dm.pxjl1.setSql("select * from 培训记录");
        dm.pxjl1.open();
        ui.clear();
        app::runAction([&] { dm.pxjl1.append(); });
        EXPECT_EQ(ui.windows, std::vector<std::string>{"选择培训课程"});
        if (dm.pxjl1.isEditing()) dm.pxjl1.cancel();
    }
}

// Titles and rewards picked in their own modules need a person; in the employee window the person
// is the employee on screen.
TEST_P(ModuleWindowsTest, TitlesAndRewardsOutsideTheRecordsModuleNeedAPerson)
{
    struct Case {
        const char* dataSet;
        int module;
        const char* content;  // a required text besides the person, or nullptr
        bool refused;
    };
    const Case cases[] = {{"zcpd", 3, nullptr, true}, {"jcqk", 4, "奖惩内容", true}, {"zcpd", 1, nullptr, false}};
    dm.rszl.open();
    dm.editorOpen.zcpd = dm.editorOpen.jcqk = true;  // their windows are open
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dataSet) + " in module " + std::to_string(c.module));
        dm.CurrentModule = c.module;
        DataSet& ds = *dm.dataSet(c.dataSet);
        ds.close();
        ds.setSql(std::string("select * from ") + (c.dataSet == std::string("zcpd") ? "职称评定" : "奖惩情况"));
        ds.open();
        ds.append();
        if (c.content) ds.setValue(c.content, "先进个人");
        ui.clear();
        EXPECT_EQ(app::runAction([&] { ds.post(); }), !c.refused);
        EXPECT_EQ(ui.messages, c.refused ? std::vector<std::string>{"员工编号不能为空!"} : std::vector<std::string>{});
        if (ds.isEditing()) ds.cancel();
    }
}

// The title window of module 3 holds every title, on the one that was double-clicked (found by its
// columns, quotes and all), and stays on it across a save; the reward window shows the double-clicked
// reward, or nothing from an empty list, and keeps the rows added in it across a save.
TEST_P(ModuleWindowsTest, ModuleRecordWindowsOpenOnTheDoubleClickedRow)
{
    exec("insert into 职称评定 (员工编号1, 被评定人姓名, 评定职称, 取得日期) values "
         "('E01', '张三', '工程师', '2020-01-02'), ('E02', '李四', '高级''工程师', '2021-03-04'), "
         "('E01', '张三', '会计师', null)");
    DataSet& titles = dm.zcpd1;
    titles.setSql(app::findModule(3)->sql);
    titles.open();
    ASSERT_TRUE(titles.locate("评定职称", db::Value("高级'工程师")));
    dm.CurrentModule = 3;
    {
        personnel::PersonRecordEditor w(dm, personnel::titleRecordSetup());
        ASSERT_TRUE(app::runAction([&] { w.activate(); }));
        ASSERT_EQ(dm.zcpd.recordCount(), 3);
        EXPECT_EQ(dm.zcpd.asString("评定职称"), "高级'工程师");
        ASSERT_TRUE(app::runAction([&] {
            dm.zcpd.edit();
            dm.zcpd.setValue("取得方式", "评审");
            w.save();
        }));
        EXPECT_EQ(dm.zcpd.recordCount(), 3);
        EXPECT_EQ(dm.zcpd.asString("取得方式"), "评审");
    }

    dm.CurrentModule = 4;
    DataSet& rewards = dm.jcqk1;
    rewards.setSql(app::findModule(4)->sql);
    rewards.open();
    ASSERT_TRUE(rewards.isEmpty());
    picks("选择被奖惩人", {"E03"});
    personnel::PersonRecordEditor w(dm, personnel::rewardRecordSetup());
    ASSERT_TRUE(app::runAction([&] { w.activate(); }));
    EXPECT_TRUE(dm.jcqk.isEmpty());
    EXPECT_TRUE(ui.errors.empty());
    for (const char* content : {"先进个人", "优秀员工"}) {
        ASSERT_TRUE(app::runAction([&] {
            w.add();
            w.pickPerson();
            dm.jcqk.setValue("奖惩内容", content);
            w.save();
        }));
    }
    EXPECT_EQ(dm.jcqk.recordCount(), 2) << "both new rows stay in the window";
    EXPECT_EQ(count("奖惩情况 where 员工编号1 = 'E03' and 奖惩人姓名 = 'O''Neil'"), 2);
}

// Picking the transferred person copies the before-state from the employee, the payroll set
// included, and leaves the employee record as it is.
TEST_P(ModuleWindowsTest, PickingTheTransferredPersonCopiesTheBeforeState)
{
    dm.CurrentModule = 5;
    picks("选择被调动人", {"E02"});
    personnel::TransferManagement w(dm);
    ASSERT_TRUE(app::runAction([&] {
        w.activate();
        w.add();  // the list's rule asks for the person at once
        w.pickPerson();
        dm.ddjl1.setValue("调动后一级部门", "总部");
        w.save();
    }));
    EXPECT_EQ(count("调动记录 where 员工编号1 = 'E02' and 姓名 = '李四' and 调动前一级部门 = '分厂' and "
                    "调动前四级部门 = '二组' and 调动前职务 = '科长' and 调动前帐套 = '工人' and 调动后一级部门 = '总部'"),
              1);
    EXPECT_EQ(count("员工基本情况 where 员工编号 = 'E02' and 一级部门 = '分厂'"), 1);
}

}  // namespace
