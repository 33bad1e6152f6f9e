#include <gtest/gtest.h>

#include <QFile>
#include <QDir>
#include <string>
#include <vector>

#include "app/TDM.h"
#include "db/Schema.h"
#include "personnel/EmployeePages.h"
#include "personnel/EmployeeRecord.h"
#include "personnel/EmployeeStore.h"
#include "print/ReportEngine.h"
#include "print/ReportFile.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;
using db::DataSet;
using personnel::EmployeeRecord;

class EmployeeRecordTest : public test::OnBothEngines {
protected:
    EmployeeRecordTest()
    {
        exec("insert into 员工基本情况 (员工编号, 姓名, 职务) values ('E01', '张三', '科员'), ('E02', '李四', '科长')");
        // One record of every kind for each employee, so a page that reads the wrong employee shows.
        for (const char* n : {"E01", "E02"}) {
            const std::string v = std::string("'") + n + "'";
            exec("insert into 个人经历 (学校或者工作单位, 员工编号1) values ('一中', " + v + ")");
            exec("insert into 社会关系 (姓名, 员工编号1) values ('父', " + v + ")");
            exec("insert into 证照列表 (证照名称, 员工编号1) values ('驾照', " + v + ")");
            exec("insert into 培训记录 (受培训人姓名, 员工编号1) values ('x', " + v + ")");
            exec("insert into 调动记录 (调动类型, 员工编号1) values ('调入', " + v + ")");
            exec("insert into 职称评定 (评定职称, 职称备注, 员工编号1) values ('工程师', '备', " + v + ")");
            exec("insert into 奖惩情况 (奖惩内容, 员工编号1) values ('表扬', " + v + ")");
            exec("insert into 工资晋升 (工资等级, 员工编号1) values ('一级', " + v + ")");
            exec("insert into 考评情况 (考评结果, 员工编号1, 考评编号1) values ('优', " + v + ", 'KP01')");
            exec("insert into 物品领用 (物品, 员工编号1) values ('帽', " + v + ")");
        }
        exec("insert into 考评项目表 (考评编号, 考评项目) values ('KP01', '年度')");
        p.logIn("admin");
        dm.rszl.open();
        ui.clear();
    }

    void exec(const std::string& sql) { dm.DMADO.exec(sql); }

    int count(const std::string& fromWhere) { return p.count(fromWhere); }

    void writeFile(const std::string& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readFile(const std::string& path)
    {
        QFile f(QString::fromStdString(path));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true, .engine = engine()}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};
RSGZ_ON_BOTH_ENGINES(EmployeeRecordTest);

// Each refusal shows its own message only, and the row stays open for correction.
TEST_P(EmployeeRecordTest, SavePathsShowTheirOwnMessageAndKeepTheRowOpen)
{
    test::refuseWrites(dm.DMADO, "refuse", test::Write::Insert, "员工基本情况", "new.姓名 = '拒绝'", "触发器拒绝");
    struct Case {
        const char* number;
        const char* name;
        std::vector<std::string> messages, errors;
    };
    const Case cases[] = {
        {"E01", "王五", {"员工编号重复，数据保存失败！"}, {}},
        {"e01", "王五", {"员工编号重复，数据保存失败！"}, {}},  // numbers compare without case
        {"E09", "", {"姓名不能为空!"}, {}},
        {"E09", "拒绝", {}, {"触发器拒绝"}},  // not a duplicate: the engine's own words
    };
    EmployeeRecord w(dm);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.number) + "/" + c.name);
        ui.clear();
        w.add();
        dm.rszl.setValue("员工编号", c.number);
        dm.rszl.setValue("姓名", c.name);
        EXPECT_FALSE(app::runAction([&] { w.save(); }));
        EXPECT_EQ(ui.messages, c.messages);
        EXPECT_EQ(ui.errors.size(), c.errors.size());
        if (!c.errors.empty()) {
            EXPECT_NE(ui.errors[0].find(c.errors[0]), std::string::npos) << ui.errors[0];
        }
        EXPECT_EQ(dm.rszl.state(), DataSet::State::Insert);
        dm.rszl.cancel();
    }
    EXPECT_EQ(count("员工基本情况"), 2);
}

TEST_P(EmployeeRecordTest, NumberCheckReportsStoredAndStillLinkedNumbers)
{
    exec("insert into 个人经历 (员工编号1) values ('E77')");  // left by a deleted employee
    EmployeeRecord w(dm);
    for (const auto& [typed, expected] : {std::pair{"E01", "此编号已被使用！"}, std::pair{"E77", "此编号已被使用！"},
                                          std::pair{"E99", "此编号可以使用！"}, std::pair{"x' or '1'='1", "此编号可以使用！"}}) {
        ui.clear();
        w.checkNumber(typed);
        EXPECT_EQ(ui.messages, std::vector<std::string>{expected}) << typed;
    }
}

// Links are by value: a renumbered employee takes records, wage rows and photo along, or nothing
// moves at all when the new number is refused.
TEST_P(EmployeeRecordTest, ChangedNumberCarriesLinksAndPhotoInOneTransaction)
{
    exec("insert into 计时工资 (员工编号, 姓名) values ('E01', '张三')");
    writeFile(personnel::employeePhotoPath(dm, "E01"), "jpeg-E01");
    EmployeeRecord w(dm);
    dm.rszl.first();

    dm.rszl.edit();
    dm.rszl.setValue("员工编号", "E02");  // taken: refused
    EXPECT_FALSE(app::runAction([&] { w.save(); }));
    EXPECT_EQ(count("个人经历 where 员工编号1 = 'E01'"), 1);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(personnel::employeePhotoPath(dm, "E01"))));

    dm.rszl.setValue("员工编号", "E05");
    ASSERT_TRUE(app::runAction([&] { w.save(); }));
    for (const char* table : {"个人经历", "社会关系", "证照列表", "培训记录", "调动记录", "职称评定", "奖惩情况", "工资晋升",
                              "考评情况", "物品领用"}) {
        EXPECT_EQ(count(std::string(table) + " where 员工编号1 = 'E01'"), 0) << table;
        EXPECT_EQ(count(std::string(table) + " where 员工编号1 = 'E05'"), 1) << table;
    }
    EXPECT_EQ(count("计时工资 where 员工编号 = 'E05'"), 1);
    EXPECT_EQ(readFile(personnel::employeePhotoPath(dm, "E05")), "jpeg-E01");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(personnel::employeePhotoPath(dm, "E01"))));
}

// A deleted employee's records stay; the number they carry cannot be given to someone new.
TEST_P(EmployeeRecordTest, DeletedEmployeesRecordsAreNeverInherited)
{
    EmployeeRecord w(dm);
    dm.rszl.first();
    ui.answer(true);
    ASSERT_TRUE(app::runAction([&] { w.remove(); }));
    EXPECT_EQ(count("员工基本情况 where 员工编号 = 'E01'"), 0);
    EXPECT_EQ(count("个人经历 where 员工编号1 = 'E01'"), 1);

    ui.clear();
    w.add();
    dm.rszl.setValue("员工编号", "E01");
    dm.rszl.setValue("姓名", "新人");
    EXPECT_FALSE(app::runAction([&] { w.save(); }));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"此员工编号仍有已删除员工的记录，不能使用！"});
    dm.rszl.setValue("员工编号", "E03");
    EXPECT_TRUE(app::runAction([&] { w.save(); }));
}

TEST_P(EmployeeRecordTest, PhotoRules)
{
    EmployeeRecord w(dm);
    const std::string chosen = p.path("pick/me.jpg");
    writeFile(chosen, "picture");

    // No number, or one that would leave the folder: refused before any dialog.
    for (const char* number : {"", "../E9", "a\\b"}) {
        SCOPED_TRACE(number);
        ui.clear();
        w.add();
        dm.rszl.setValue("员工编号", number);
        ui.fileNames.push_back(chosen);
        EXPECT_FALSE(app::runAction([&] { w.photo(); }));
        EXPECT_EQ(ui.messages.size(), 1u);
        EXPECT_TRUE(ui.fileFilters.empty());
        ui.fileNames.clear();
        dm.rszl.cancel();
    }
    EXPECT_FALSE(QFile::exists(QString::fromStdString(p.path("照片/.jpg"))));

    dm.rszl.first();
    ui.fileNames.push_back(chosen);
    ASSERT_TRUE(app::runAction([&] { w.photo(); }));
    const std::string copy = personnel::employeePhotoPath(dm, "E01");
    EXPECT_EQ(readFile(copy), "picture");
    EXPECT_EQ(dm.rszl.asString("照片位置"), chosen);
    EXPECT_EQ(w.photoFile, chosen);  // the chosen file wins while it exists

    QFile::remove(QString::fromStdString(chosen));
    w.activate();
    EXPECT_EQ(w.photoFile, copy);

    // Choosing the copy itself must not empty it.
    ui.fileNames.push_back(copy);
    ASSERT_TRUE(app::runAction([&] { w.photo(); }));
    EXPECT_EQ(readFile(copy), "picture");

    dm.rszl.next();  // E02 has no photo
    w.activate();
    EXPECT_EQ(w.photoFile, "");
}

// Every list page shows the current employee's rows of its own table, and follows the employee.
TEST_P(EmployeeRecordTest, EveryListPageReadsTheCurrentEmployeesRows)
{
    EmployeeRecord w(dm);
    for (const personnel::SubRecordPage& page : personnel::subRecordPages()) {
        SCOPED_TRACE(page.caption);
        dm.rszl.first();
        w.setPage(page.index);
        EXPECT_EQ(w.caption, std::string("员工信息-") + page.caption);
        EXPECT_FALSE(w.addEnabled);
        EXPECT_FALSE(w.deleteEnabled);
        DataSet& ds = *w.pageDataSet();
        ASSERT_EQ(ds.recordCount(), 1);
        for (const std::string& col : page.columns) EXPECT_GE(ds.fieldIndex(col), 0) << col;
        if (page.index != personnel::kEvaluationPage) EXPECT_EQ(ds.asString("员工编号1"), "E01");
        w.next();
        ASSERT_EQ(ds.recordCount(), 1);
        if (page.index != personnel::kEvaluationPage) EXPECT_EQ(ds.asString("员工编号1"), "E02");
        EXPECT_EQ(w.listButtonsShown(), page.index != personnel::kEvaluationPage);
    }
    // The evaluation list is read-only and its buttons do nothing.
    w.setPage(personnel::kEvaluationPage);
    ui.clear();
    w.pageAdd();
    w.openPageEditor();
    EXPECT_TRUE(ui.windows.empty());
    EXPECT_TRUE(w.pageDataSet()->readOnly());
}

// 打印 on every list page opens the preview over the page's rows and leaves the page's layout file
// (new: the title band "表格标题" and no columns); 表格设计 opens the designer the same way.
TEST_P(EmployeeRecordTest, PrintOnEveryListPageOpensThePreviewOverItsRows)
{
    EmployeeRecord w(dm);
    dm.rszl.first();
    for (const personnel::SubRecordPage& page : personnel::subRecordPages()) {
        SCOPED_TRACE(page.caption);
        w.setPage(page.index);
        print::reportEngine().reset();
        ui.clear();
        ASSERT_TRUE(app::runAction([&] { w.pagePrint(); }));
        EXPECT_EQ(ui.windows, std::vector<std::string>{"打印预览"});
        const print::ReportTable& rows = print::reportEngine().source();
        ASSERT_EQ(rows.rows.size(), 1u);
        for (const std::string& col : page.columns) EXPECT_GE(rows.fieldIndex(col), 0) << col;
        const print::ReportFileResult saved = print::loadReportDefinition(p.path(page.printFile));
        ASSERT_TRUE(saved.ok) << saved.error;
        EXPECT_EQ(saved.definition.bands.front().text, "表格标题");
        EXPECT_TRUE(saved.definition.columns.empty());
        ui.clear();
        ASSERT_TRUE(app::runAction([&] { w.pageDesign(); }));
        EXPECT_EQ(ui.windows, std::vector<std::string>{"报表设置"});
    }
    // The title remarks of page 7 are its own column, 职称备注.
    w.setPage(7);
    EXPECT_EQ(w.pageDataSet()->asString("职称备注"), "备");
}

TEST_P(EmployeeRecordTest, RecordsManagementRightGovernsTheEmployeeButtons)
{
    exec("insert into 权限 (姓名, 密码, 档案管理) values ('王五', '', false)");
    for (const auto& [op, may] : {std::pair{"admin", true}, std::pair{"王五", false}}) {
        p.logIn(op);
        EmployeeRecord w(dm);
        w.setPage(2);
        w.setPage(0);
        EXPECT_EQ(w.addEnabled, may) << op;
        EXPECT_EQ(w.saveEnabled, may) << op;
        EXPECT_EQ(w.deleteEnabled, may) << op;
        EXPECT_EQ(w.caption, "员工信息-基本信息");
    }
}

// An untouched new employee is dropped on closing; a changed one is asked about.
TEST_P(EmployeeRecordTest, ClosingSettlesAPendingEmployee)
{
    {
        EmployeeRecord w(dm);
        w.add();
        EXPECT_TRUE(w.close());
        EXPECT_TRUE(ui.questions.empty());
        EXPECT_EQ(dm.rszl.state(), DataSet::State::Browse);
    }
    {
        EmployeeRecord w(dm);
        w.add();
        dm.rszl.setValue("员工编号", "E08");
        dm.rszl.setValue("姓名", "赵六");
        ui.answer(true);
        EXPECT_TRUE(w.close());
        EXPECT_EQ(count("员工基本情况 where 员工编号 = 'E08'"), 1);
    }
    EXPECT_EQ(count("员工基本情况"), 3);
}

// A row typed into a list's grid is asked about before the list is re-read for another employee.
TEST_P(EmployeeRecordTest, ListEditIsAskedAboutBeforeTheEmployeeChanges)
{
    EmployeeRecord w(dm);
    w.setPage(2);
    for (bool keep : {false, true}) {
        dm.rszl.first();
        w.setPage(2);
        DataSet& ds = *w.pageDataSet();
        ds.edit();
        ds.setValue("备注", keep ? "保留" : "丢弃");
        ui.clear();
        ui.answer(keep);
        ASSERT_TRUE(app::runAction([&] { w.next(); }));
        EXPECT_EQ(ui.questions.size(), 1u);
        EXPECT_EQ(count("个人经历 where 备注 = '保留'"), keep ? 1 : 0);
        EXPECT_EQ(count("个人经历 where 备注 = '丢弃'"), 0);
    }
}

// The link columns are indexed in new files and in files made before the indexes existed.
TEST_P(EmployeeRecordTest, LinkColumnsAreIndexed)
{
    auto indexed = [&](const std::string& table) {
        return test::indexesNaming(dm.DMADO, table, "员工编号") > 0;
    };
    EXPECT_TRUE(indexed("个人经历"));
    EXPECT_TRUE(indexed("计时工资"));
    exec("drop index [个人经历_员工编号1]");
    exec("drop index [计时工资_员工编号]");
    dm.updateSchema();
    EXPECT_TRUE(indexed("个人经历"));
    EXPECT_TRUE(indexed("计时工资"));
}

}  // namespace
