#include "support/ServerClerks.h"

#include "app/TDM.h"
#include "db/Schema.h"
#include "db/SqlText.h"

namespace rsgz::test {

namespace {

// The default operator with every right, as the template holds them.
void addDefaultOperator(db::Connection& conn)
{
    std::string cols = db::sqlIdent("姓名"), values = "?";
    int rights = 0;
    for (const db::ColumnDef& c : db::findTable("权限")->columns) {
        if (c.type != db::FieldType::YesNo) continue;
        cols += "," + db::sqlIdent(c.name);
        values += ",?";
        ++rights;
    }
    db::Statement st = conn.prepareNative("insert into " + db::sqlIdent("权限") + " (" + cols + ") values (" + values + ")");
    st.bind(1, app::kDefaultOperator);
    for (int i = 0; i < rights; ++i) st.bind(i + 2, 1);
    st.run();
}

}  // namespace

SharedServerDatabase::SharedServerDatabase()
{
    db_.createSchema();
    addDefaultOperator(db_.conn());
}

db::ServerTarget SharedServerDatabase::target(const std::string& clerk) const
{
    db::ServerTarget t = *db_.connectAgain()->server();
    t.applicationName = clerk;
    return t;
}

ServerClerk::ServerClerk(const SharedServerDatabase& shared, const std::string& name)
{
    dm.DMADO.setServer(shared.target(name));
    p.logIn(app::kDefaultOperator);
}

}  // namespace rsgz::test
