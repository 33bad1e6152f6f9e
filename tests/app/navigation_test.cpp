#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "app/Navigation.h"
#include "app/PrintEntries.h"
#include "app/Product.h"
#include "app/TDM.h"
#include "db/Gbk.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

using namespace rsgz;
using app::Navigation;

namespace {

class RecordingView : public app::NavigationView {
public:
    std::vector<std::string> pictures;
    std::vector<int> gridResets;
    bool showPicture(const std::string& path) override
    {
        pictures.push_back(path);
        return true;
    }
    void resetGridColumns(int module) override { gridResets.push_back(module); }
};

std::string readBytes(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
}

std::string crlfLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return text;
}

bool contains(const std::vector<std::string>& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); }

class NavigationTest : public test::OnBothEngines {
protected:
    void SetUp() override
    {
        nav.setView(&view);
        dm.onStatusText = [this](const std::string& t) { statusTexts.push_back(t); };
    }
    void TearDown() override
    {
        nav.setView(nullptr);
        dm.onStatusText = nullptr;
    }

    void addEmployee(const std::string& no, const std::string& name, const std::string& onPayroll)
    {
        dm.DMADO.exec("insert into 员工基本情况 (员工编号,姓名,工资核算) values ('" + no + "','" + name + "','" + onPayroll + "')");
    }

    test::ProgramLayout program{{.liveDatabase = true, .recordRules = true, .engine = engine()}};
    app::TDM& dm = program.dm();
    Navigation& nav = program.frame().navigation();
    test::ScriptedInteraction user;
    RecordingView view;
    std::vector<std::string> statusTexts;
};

TEST_P(NavigationTest, EachModuleOpensItsListLineByLine)
{
    const std::map<int, std::vector<std::string>> statements = {
        {1, {"select * from 员工基本情况"}},
        {10, {"select * from 员工基本情况", "where 工资核算='是'"}},
        {2,
         {"select 开始日期,结束日期,培训名称,培训内容,培训单位,受培训人姓名,一级部门,二级部门,三级部门,四级部门,培训结果,培训费用,培训备注,课程编号,员工编号 from 培训课程,员工基本情况,培训记录",
          "where 课程编号=课程编号1", "and 员工编号1=员工编号"}},
        {3,
         {"select 被评定人姓名,评定职称,取得日期,取得方式,聘用专业技术职务,聘用起始日,聘用结束日,聘用单位,职称英语,",
          "职称英语取得日期,职称计算机, 职称计算机取得日期,职称备注,一级部门,二级部门,三级部门,四级部门  from 职称评定,员工基本情况",
          "where 员工编号1=员工编号"}},
        {4,
         {"select 奖惩日期,奖惩人姓名,奖或惩,奖惩内容,奖惩原因,奖惩级别,批准部门,批准人,撤销日期,撤销原因,奖惩备注,一级部门,二级部门,三级部门,四级部门,员工编号,奖惩情况.编号 as 编号 from 奖惩情况,员工基本情况",
          "where 员工编号1=员工编号", "order by  奖惩情况.编号 desc"}},
        {5, {"select * from 调动记录"}},
        {6, {"select * from 人员统计"}},
        {7,
         {"select 员工编号,被考评人姓名,考评项目,考评结果,考评等级,考评分数,考评人1,考评日期,考评备注,性别,职务,行政级别,一级部门,二级部门,三级部门,四级部门,职称 from 考评情况,考评项目表,员工基本情况",
          "where 考评编号=考评编号1", " and 员工编号1=员工编号"}},
        {8,
         {"select 物品编号,物品,领用日期,归还日期,数量,价值,领用备注,领用人姓名,一级部门,二级部门, 三级部门,四级部门,签字 from 物品领用,员工基本情况",
          "where 员工编号1=员工编号"}},
    };
    const std::map<int, std::string> dataSets = {{1, "rszl"}, {10, "rszl"}, {2, "pxjl"},  {3, "zcpd1"}, {4, "jcqk1"},
                                                 {5, "ddjl1"}, {6, "rytongji"}, {7, "kpqk1"}, {8, "wply1"}};
    for (const auto& [module, lines] : statements) {
        SCOPED_TRACE("module " + std::to_string(module));
        nav.chooseModule(module);
        const db::DataSet& ds = *dm.dataSet(dataSets.at(module));
        EXPECT_TRUE(ds.active());
        EXPECT_EQ(ds.sqlLines(), lines);
        std::string joined = lines.front();
        for (size_t i = 1; i < lines.size(); ++i) joined += "\r\n" + lines[i];
        EXPECT_EQ(ds.sqlText(), joined);
        EXPECT_EQ(dm.CurrentModule, module);
        EXPECT_EQ(nav.visiblePanel(), module);
        EXPECT_FALSE(nav.desktopVisible());
    }
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
}

TEST_P(NavigationTest, PayrollListStaysInModuleOneUntilItsRefresh)
{
    addEmployee("001", "张三", "是");
    addEmployee("002", "李四", "否");
    addEmployee("003", "王五", "是");

    nav.chooseModule(1);
    EXPECT_EQ(dm.rszl.recordCount(), 3);
    nav.chooseModule(10);
    EXPECT_EQ(dm.rszl.recordCount(), 2);
    // Module 1 re-reads its list only when it is closed.
    nav.chooseModule(1);
    EXPECT_EQ(dm.rszl.recordCount(), 2);
    nav.refreshList(1);
    EXPECT_EQ(dm.rszl.recordCount(), 3);
    EXPECT_EQ(dm.rszl.sqlLines(), db::SqlLines{"select * from 员工基本情况"});
}

TEST_P(NavigationTest, ChoosingAModuleAgainKeepsItsRowWithoutReading)
{
    addEmployee("001", "张三", "是");
    addEmployee("002", "李四", "是");
    nav.chooseModule(1);
    dm.rszl.next();
    addEmployee("003", "王五", "是");

    nav.chooseModule(2);
    nav.chooseModule(1);
    // On a server the list is read afresh, for the rows other clerks added; on the row it was on.
    EXPECT_EQ(dm.rszl.recordCount(), onServer() ? 3 : 2);
    EXPECT_EQ(dm.rszl.asString("员工编号"), "002");
    EXPECT_EQ(statusTexts.back(), onServer() ? "2/3" : "2/2");
}

TEST_P(NavigationTest, EmptyEmployeeListShowsMinusOneOverZero)
{
    nav.chooseModule(1);
    ASSERT_FALSE(statusTexts.empty());
    EXPECT_EQ(statusTexts.back(), "-1/0");
}

TEST_P(NavigationTest, FieldListsAndTheirFilesFollowEachModulesRule)
{
    nav.chooseModule(1);
    const std::vector<std::string> employeeColumns = dm.rszl.fieldNames();
    ASSERT_TRUE(contains(employeeColumns, "序号") && contains(employeeColumns, "编号"));
    EXPECT_EQ(readBytes(program.path("set/khzlfield.txt")), db::toGbk(crlfLines(employeeColumns)));
    const app::FieldLists& people = nav.fieldLists(1);
    EXPECT_FALSE(contains(people.search, "序号") || contains(people.search, "编号") || contains(people.sort, "编号"));
    // The computed ages and years of service are no columns of the database: never offered.
    for (const char* computed : {"年龄", "本单位工龄", "工龄"}) {
        ASSERT_TRUE(contains(employeeColumns, computed));
        EXPECT_FALSE(contains(people.search, computed) || contains(people.sort, computed)) << computed;
    }
    EXPECT_EQ(people.search.size(), employeeColumns.size() - 5);
    EXPECT_EQ(people.searchShown(), people.search.front());
    EXPECT_EQ(people.sortShown(), "员工编号");

    // Training keeps every column and selects nothing.
    nav.chooseModule(2);
    const app::FieldLists& training = nav.fieldLists(2);
    std::vector<std::string> storedTraining;
    for (int i = 0; i < dm.pxjl.fieldCount(); ++i)
        if (!dm.pxjl.field(i).calculated) storedTraining.push_back(dm.pxjl.field(i).name);
    EXPECT_EQ(training.search, storedTraining);
    EXPECT_EQ(training.searchIndex, -1);
    EXPECT_EQ(training.sortIndex, -1);
    EXPECT_EQ(readBytes(program.path("set/pxjlfields.txt")), db::toGbk(crlfLines(dm.pxjl.fieldNames())));

    // The other files hold the sort list: 编号 (an alias in rewards and penalties) is gone.
    const std::map<int, std::string> sortListFiles = {
        {3, "zcpdfields.txt"}, {4, "jcglfields.txt"}, {7, "kpqkfields.txt"}, {8, "wplyfields.txt"}};
    for (const auto& [module, file] : sortListFiles) {
        SCOPED_TRACE(file);
        nav.chooseModule(module);
        const app::FieldLists& lists = nav.fieldLists(module);
        EXPECT_FALSE(contains(lists.sort, "编号"));
        EXPECT_EQ(lists.sortShown(), lists.sort.front());
        EXPECT_EQ(readBytes(program.path("set/" + file)), db::toGbk(crlfLines(lists.sort)));
    }
    EXPECT_TRUE(contains(dm.jcqk1.fieldNames(), "编号"));

    nav.chooseModule(5);
    EXPECT_FALSE(contains(nav.fieldLists(5).search, "编号"));
    EXPECT_EQ(nav.fieldLists(5).searchShown(), "调动类型");
}

TEST_P(NavigationTest, ADatabaseErrorLeavesThePanelShown)
{
    dm.DMADO.exec("drop table 调动记录");
    nav.chooseModule(5);
    ASSERT_EQ(user.errors.size(), 1u);
    EXPECT_EQ(nav.visiblePanel(), 5);
    EXPECT_EQ(dm.CurrentModule, 5);
    EXPECT_FALSE(dm.ddjl1.active());
}

TEST_P(NavigationTest, RecordWindowsReReadTheirListsAfterwards)
{
    addEmployee("001", "张三", "是");
    nav.chooseModule(8);
    EXPECT_EQ(dm.wply1.recordCount(), 0);
    dm.DMADO.exec("insert into 物品领用 (物品,员工编号1) values ('工作服','001')");
    nav.openRecordWindow(8);
    EXPECT_EQ(user.windows, std::vector<std::string>{"物品登记与发放"});
    EXPECT_EQ(dm.wply1.recordCount(), 1);

    nav.chooseModule(1);
    nav.openRecordWindow(1);
    nav.openQueryWindow(1);
    EXPECT_EQ(user.windows.back(), "员工资料综合查询");
    EXPECT_EQ(user.windows[1], "员工信息");
}

TEST_P(NavigationTest, ModuleCommandsActOnlyInTheirModule)
{
    for (int module = 0; module <= 13; ++module) {
        SCOPED_TRACE("module " + std::to_string(module));
        user.windows.clear();
        view.gridResets.clear();
        dm.CurrentModule = module;
        nav.menuEntry("批量修改人事资料一列字段内容");
        nav.menuEntry("初始化表格显示");
        nav.button("月末处理");
        EXPECT_EQ(user.windows, module == 1 ? std::vector<std::string>{"批量修改员工资料"} : std::vector<std::string>{});
        EXPECT_EQ(view.gridResets, module == 8 ? std::vector<int>{8} : std::vector<int>{});
        EXPECT_EQ(dm.CurrentModule, module);
        EXPECT_EQ(nav.visiblePanel(), 0);
    }
}

TEST_P(NavigationTest, PrintEntriesShowOnlyInTheirModule)
{
    const std::map<int, std::vector<std::string>> shown = {
        {0, {}},
        {1, {"打印员工档案表", "打印员工报表"}},
        {2, {"打印人员培训表"}},
        {3, {"打印职称评定表"}},
        {4, {"打印人员奖惩表"}},
        {5, {"打印人员调动表"}},
        {6, {}},
        {7, {"打印人员考评表"}},
        {8, {"打印物品领用表"}},
        {9, {}},
        {10, {}},
        {11, {"打印工资表", "打印工资条", "银行代发工资输出"}},
        {12, {}},
        {13, {}},
    };
    for (const auto& [module, entries] : shown) EXPECT_EQ(app::SetPrintVisible(module), entries) << "module " << module;

    nav.chooseModule(1);
    EXPECT_EQ(nav.printEntries().size(), 2u);
    nav.button("公司数据");
    EXPECT_TRUE(nav.printEntries().empty());
}

TEST_P(NavigationTest, SystemButtonsLeaveModuleZero)
{
    nav.chooseModule(1);
    nav.button("公司数据");
    EXPECT_EQ(dm.CurrentModule, 0);
    EXPECT_EQ(nav.visiblePanel(), 1);  // the company window leaves the panel in place

    nav.button("操作员设置");
    EXPECT_EQ(user.windows, (std::vector<std::string>{"公司情况", "权限管理"}));
    EXPECT_EQ(nav.visiblePanel(), 0);
    EXPECT_FALSE(nav.desktopVisible());  // an empty work area until the next choice

    nav.groupChanged();
    EXPECT_TRUE(nav.desktopVisible());
    nav.menuEntry("访问软件技术支持网站");
    EXPECT_EQ(user.urls, std::vector<std::string>{app::kSupportUrl});
}

TEST_P(NavigationTest, ChosenPictureIsRememberedAsOneGbkLine)
{
    const std::string picture = program.path("照片/桌面.png");
    user.fileNames.push_back(picture);
    nav.chooseDesktopPicture();
    EXPECT_EQ(view.pictures, std::vector<std::string>{picture});
    EXPECT_EQ(readBytes(program.path("imagestart.dat")), db::toGbk(picture + "\r\n"));

    // Cancelling the dialog (no name queued) changes nothing.
    nav.chooseDesktopPicture();
    EXPECT_EQ(view.pictures.size(), 1u);
    EXPECT_EQ(readBytes(program.path("imagestart.dat")), db::toGbk(picture + "\r\n"));
}

TEST_P(NavigationTest, StartPictureIsShownOnlyWhenItStillExists)
{
    const std::string picture = program.path("bak/desk.png");
    db::writeSettingsLines(program.path("imagestart.dat"), {picture, "ignored"});
    nav.OpenImageStart();
    EXPECT_TRUE(view.pictures.empty());  // the file is gone: the built-in picture stays

    QFile f(QString::fromStdString(picture));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    nav.OpenImageStart();
    EXPECT_EQ(view.pictures, std::vector<std::string>{picture});
    EXPECT_TRUE(user.messages.empty() && user.errors.empty());
}

}  // namespace

// Pages without a list of their own, the desktop and the windows that empty the work area show no
// record status; the status of the module shown before them must not stay behind.
TEST_P(NavigationTest, PagesWithoutAListClearTheStatusOfThePreviousModule)
{
    addEmployee("001", "张三", "是");
    addEmployee("002", "李四", "是");
    const std::vector<std::pair<std::string, std::function<void()>>> leaves = {
        {"module 6", [&] { nav.chooseModule(6); }},
        {"module 9", [&] { nav.chooseModule(9); }},
        {"module 11", [&] { nav.chooseModule(11); }},
        {"group change", [&] { nav.groupChanged(); }},
        {"操作员设置", [&] { nav.button("操作员设置"); }},
        {"基本资料管理", [&] { nav.button("基本资料管理"); }},
    };
    for (const auto& [name, leave] : leaves) {
        SCOPED_TRACE(name);
        nav.chooseModule(1);
        dm.rszl.last();
        ASSERT_EQ(statusTexts.back(), "2/2");
        leave();
        EXPECT_EQ(statusTexts.back(), "");
    }
    // A page whose list writes its own status keeps it.
    nav.chooseModule(10);
    EXPECT_EQ(statusTexts.back(), "1/2");
    nav.chooseModule(12);  // the time-rate list, empty
    EXPECT_EQ(statusTexts.back(), "-1/0");
}

TEST_P(NavigationTest, SupportSiteWithoutABrowserShowsItsAddress)
{
    user.browserStarts = false;
    nav.menuEntry("访问软件技术支持网站");
    EXPECT_EQ(user.urls, std::vector<std::string>{app::kSupportUrl});
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_NE(user.messages[0].find(app::kSupportUrl), std::string::npos) << user.messages[0];

    user.clear();
    user.browserStarts = true;
    nav.menuEntry("访问软件技术支持网站");
    EXPECT_TRUE(user.messages.empty());
}

RSGZ_ON_BOTH_ENGINES(NavigationTest);
