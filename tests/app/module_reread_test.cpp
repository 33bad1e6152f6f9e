// A module list chosen again on a server shows what another clerk wrote meanwhile, on the same row.
#include <gtest/gtest.h>

#include "app/MainFrame.h"
#include "app/Module.h"
#include "app/Navigation.h"
#include "db/DataSet.h"
#include "support/ScriptedInteraction.h"
#include "support/ServerClerks.h"

using namespace rsgz;
using app::Module;
using app::moduleNumber;

TEST(ModuleListOnAServer, ChosenAgainShowsTheOtherClerksRowOnTheSameEmployee)
{
    if (!test::testServer()) GTEST_SKIP() << "no test server: set RSGZ_TEST_PGHOST";
    test::SharedServerDatabase shared;
    shared.conn().exec("insert into 员工基本情况 (员工编号, 姓名) values ('E01', '张三'), ('E02', '李四'), ('E03', '王五')");
    test::ServerClerk zhang(shared, "张三"), li(shared, "李四");
    test::ScriptedInteraction ui;

    app::Navigation& nav = zhang.p.frame().navigation();
    nav.chooseModule(moduleNumber(Module::Personnel));
    db::DataSet* list = nav.lists().dataSet(moduleNumber(Module::Personnel));
    ASSERT_TRUE(list->active());
    ASSERT_EQ(list->recordCount(), 3);
    ASSERT_TRUE(list->locate("员工编号", db::Value("E02")));

    li.dm.DMADO.exec("insert into 员工基本情况 (员工编号, 姓名) values ('E00', '赵六')");
    nav.chooseModule(moduleNumber(Module::Transfers));
    nav.chooseModule(moduleNumber(Module::Personnel));
    EXPECT_EQ(list->recordCount(), 4);
    EXPECT_EQ(list->asString("员工编号"), "E02");
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
}
