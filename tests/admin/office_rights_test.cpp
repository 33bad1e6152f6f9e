#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "admin/OfficeRights.h"
#include "app/Rights.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/SchemaUpgrade.h"
#include "db/ServerRoles.h"
#include "support/OfficeFixture.h"

using namespace rsgz;

namespace {

using Kind = db::DbError::Kind;

// The kind of DbError the work throws; Other with "no error" text when it throws none.
Kind refusal(const std::function<void()>& work, std::string* message = nullptr)
{
    try {
        work();
    } catch (const db::DbError& e) {
        if (message) *message = e.what();
        return e.kind();
    }
    if (message) *message = "no error";
    return Kind::Other;
}

// The operators the view lists, each with the rights it holds.
std::map<std::string, std::set<std::string>> operatorsSeenBy(db::Connection& c)
{
    std::map<std::string, std::set<std::string>> seen;
    db::Statement st = c.prepareNative(std::string("select * from ") + db::kOperatorView);
    while (st.step()) {
        auto& rights = seen[st.textOrEmpty(0)];
        for (int col = 2; col < st.columnCount(); ++col)
            if (st.integer(col) != 0) rights.insert(st.columnName(col));
    }
    return seen;
}

}  // namespace

TEST(OfficeGrants, EveryTableIsWrittenByOneRightByEveryOperatorOrByNobody)
{
    const db::OfficeGrants& g = admin::officeGrants();
    std::map<std::string, int> writers;
    for (const std::string& t : g.everyoneWrites) ++writers[t];
    for (const std::string& t : admin::tablesNobodyWrites()) ++writers[t];
    for (const auto& [right, tables] : g.writesOfRight) {
        EXPECT_NE(std::find(g.rights.begin(), g.rights.end(), right), g.rights.end()) << right;
        for (const std::string& t : tables) ++writers[t];
    }
    std::set<std::string> schema;
    for (const db::TableDef& t : db::schemaTablesAt(db::currentSchemaVersion())) schema.insert(t.name);
    for (const std::string& t : schema) EXPECT_EQ(writers[t], 1) << t;
    for (const auto& [t, n] : writers) EXPECT_TRUE(schema.count(t)) << "no such table: " << t;
    EXPECT_EQ(g.rights, app::allRights());
}

class OfficeOnServer : public test::OfficeTest {
protected:
    std::unique_ptr<db::Connection> manager()
    {
        return office().connectAs(office().firstOperator(), test::TestOffice::kFirstPassword);
    }
};

TEST_F(OfficeOnServer, TheServerRefusesPayrollWritesToARoleWithoutThePayrollRight)
{
    auto boss = manager();
    const std::string clerk = office().role("出纳");
    std::vector<std::string> rights = admin::newOperatorRights();
    std::erase(rights, "工资表管理");
    std::erase(rights, "权限管理");
    db::createOperator(*boss, clerk, "clerk-pw", rights);

    // The clerk connects directly, bypassing the program and its checks.
    auto raw = office().connectAs(clerk, "clerk-pw");
    boss->exec("insert into 工资表 (姓名, 年, 月) values ('张三', '2026', '12')");
    db::Statement count = raw->prepareNative("select count(*) from 工资表");  // reading is every operator's
    ASSERT_TRUE(count.step());
    EXPECT_EQ(count.integer(0), 1);
    std::string why;
    EXPECT_EQ(refusal([&] { raw->exec("insert into 工资表 (姓名, 年, 月) values ('李四', '2026', '12')"); }, &why), Kind::Denied) << why;
    EXPECT_EQ(refusal([&] { raw->exec("update 工资表 set gz01 = 99999 where 姓名 = '张三'"); }), Kind::Denied);
    EXPECT_EQ(refusal([&] { raw->exec("delete from 工资表"); }, &why), Kind::Denied) << why;
    // The rights the clerk holds do let it write their tables.
    EXPECT_EQ(raw->exec("insert into 员工基本情况 (员工编号, 姓名) values ('E1', '李四')"), 1);
    EXPECT_EQ(refusal([&] { raw->exec("insert into 证照列表 (员工编号1) values ('E1')"); }), Kind::Denied);

    // Granted, the same session may write; taken back, it may not.
    db::setOperatorRight(*boss, clerk, "工资表管理", true);
    EXPECT_EQ(raw->exec("update 工资表 set gz01 = 100 where 姓名 = '张三'"), 1);
    db::setOperatorRight(*boss, clerk, "工资表管理", false);
    EXPECT_EQ(refusal([&] { raw->exec("update 工资表 set gz01 = 1"); }), Kind::Denied);
    // Nor can it make itself a manager or touch the role machinery.
    EXPECT_EQ(refusal([&] { db::setOperatorRight(*raw, clerk, "工资表管理", true); }, &why), Kind::Denied) << why;
    EXPECT_EQ(refusal([&] { raw->exec("insert into 权限 (姓名) values ('x')"); }), Kind::Denied);
}

TEST_F(OfficeOnServer, OperatorsAreManagedOnlyByHoldersOfTheManagingRight)
{
    auto boss = manager();
    const std::string a = office().role("a"), b = office().role("B");
    db::createOperator(*boss, a, "a-pw", admin::newOperatorRights());
    db::createOperator(*boss, b, "b-pw", {"计时工资"});
    auto seen = operatorsSeenBy(*boss);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[office().firstOperator()].size(), app::allRights().size());
    EXPECT_EQ(seen[b], std::set<std::string>{"计时工资"});
    EXPECT_TRUE(seen[a].count("权限管理"));
    EXPECT_FALSE(seen[a].count("证照列表"));

    auto asB = office().connectAs(b, "b-pw");
    EXPECT_EQ(refusal([&] { db::createOperator(*asB, office().role("c"), "c-pw", {}); }), Kind::Denied);
    EXPECT_EQ(refusal([&] { db::dropOperator(*asB, a); }), Kind::Denied);
    EXPECT_EQ(refusal([&] { db::setOperatorPassword(*asB, a, "taken"); }), Kind::Denied);
    // An operator's own password is its own to change.
    db::setOperatorPassword(*asB, b, "b-new");
    EXPECT_EQ(refusal([&] { office().connectAs(b, "b-pw"); }), Kind::Denied);
    office().connectAs(b, "b-new");

    // A role name already on the server (any office's) is not taken over.
    std::string why;
    EXPECT_NE(refusal([&] { db::createOperator(*boss, b, "x", {}); }, &why), Kind::Denied);
    EXPECT_NE(why.find("已经有名为"), std::string::npos) << why;

    db::dropOperator(*boss, b);
    EXPECT_EQ(refusal([&] { office().connectAs(b, "b-new"); }), Kind::Denied);
    EXPECT_EQ(operatorsSeenBy(*boss).size(), 2u);

    // Someone must stay able to manage the operators, and nobody removes themself.
    db::setOperatorRight(*boss, a, "权限管理", false);
    EXPECT_NE(refusal([&] { db::setOperatorRight(*boss, office().firstOperator(), "权限管理", false); }, &why), Kind::Denied);
    EXPECT_NE(why.find("最少有一个操作员!"), std::string::npos) << why;
    EXPECT_NE(refusal([&] { db::dropOperator(*boss, office().firstOperator()); }, &why), Kind::Denied);
    EXPECT_NE(why.find("正在登录"), std::string::npos) << why;
}

TEST_F(OfficeOnServer, AnOfficeOfATakenNameIsRefusedAndLeavesTheOtherAlone)
{
    std::string why;
    EXPECT_EQ(refusal([&] { admin::createOffice(office().adminInOffice(), office().database(), "someone-new", "pw"); }, &why),
              Kind::Duplicate);
    EXPECT_NE(why.find(office().database()), std::string::npos) << why;
    auto boss = manager();
    EXPECT_EQ(operatorsSeenBy(*boss).size(), 1u);
    EXPECT_EQ(db::schemaVersionOf(*boss), db::currentSchemaVersion());
}
