#include "support/EngineFixture.h"

#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <random>

#include "app/DatabaseContents.h"
#include "db/SchemaUpgrade.h"
#include "db/SqlText.h"

namespace rsgz::test {

namespace {
std::string env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string uniqueName()
{
    static int counter = 0;
    std::random_device rd;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06x", static_cast<unsigned>(rd()) & 0xFFFFFF);
    return "rsgzt_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + "_" + buf;
}
}  // namespace

std::optional<db::ServerTarget> testServer()
{
    const std::string host = env("RSGZ_TEST_PGHOST");
    if (host.empty()) return std::nullopt;
    db::ServerTarget t;
    t.host = host;
    const std::string port = env("RSGZ_TEST_PGPORT");
    t.port = port.empty() ? 5432 : std::atoi(port.c_str());
    t.user = env("RSGZ_TEST_PGUSER").empty() ? "postgres" : env("RSGZ_TEST_PGUSER");
    t.password = env("RSGZ_TEST_PGPASSWORD");
    t.database = "postgres";
    t.applicationName = "rsgz-test";
    return t;
}

TemporaryDatabase::TemporaryDatabase(Engine engine, Contents contents) : engine_(engine)
{
    if (engine_ == Engine::File) {
        const std::string path = dir_.filePath("test.db");
        db::createDatabaseFile(path);
        conn_ = std::make_unique<db::Connection>(path);
    } else {
        admin_ = testServer();
        if (!admin_) throw std::runtime_error("no test server");
        name_ = uniqueName();
        db::createServerDatabase(*admin_, name_);
        conn_ = connectAgain();
    }
    if (contents == Contents::NewOffice) createContents();
}

TemporaryDatabase::~TemporaryDatabase()
{
    conn_.reset();
    if (admin_ && !name_.empty()) {
        try {
            db::dropServerDatabase(*admin_, name_);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "temporary database " << name_ << " not dropped: " << e.what();
        }
    }
}

std::unique_ptr<db::Connection> TemporaryDatabase::connectAgain() const
{
    if (engine_ == Engine::File) return std::make_unique<db::Connection>(conn_->path());
    return std::make_unique<db::Connection>(*serverTarget());
}

void TemporaryDatabase::createSchema()
{
    db::Transaction tx(*conn_);
    db::createSchemaAt(*conn_, db::currentSchemaVersion());
    tx.commit();
}

void TemporaryDatabase::useIn(db::Connection& other) const
{
    if (engine_ == Engine::File) other.setPath(conn_->path());
    else other.setServer(*serverTarget());
}

void TemporaryDatabase::createContents() { app::createDatabaseContents(*conn_); }

std::optional<db::ServerTarget> TemporaryDatabase::serverTarget() const
{
    if (engine_ == Engine::File) return std::nullopt;
    db::ServerTarget t = *admin_;
    t.database = name_;
    return t;
}

namespace {
constexpr const char* kNoServer =
    "no test server: set RSGZ_TEST_PGHOST (and RSGZ_TEST_PGPORT, RSGZ_TEST_PGUSER) to run the server half";
}

void BothEngines::SetUp()
{
    if (GetParam() == Engine::Server && !testServer()) GTEST_SKIP() << kNoServer;
    db_ = std::make_unique<TemporaryDatabase>(GetParam());
}

Engine availableEngine(Engine wanted) { return wanted == Engine::Server && !testServer() ? Engine::File : wanted; }

std::string rowsText(db::Connection& conn, const std::string& sql)
{
    db::Statement st = conn.prepareNative(sql);
    std::string out;
    for (bool first = true; st.step(); first = false) {
        if (!first) out += ',';
        for (int c = 0; c < st.columnCount(); ++c) {
            if (st.columnType(c) == db::Statement::ColumnType::Real) {
                char buf[32];
                const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, st.number(c), std::chars_format::fixed);
                out.append(buf, ec == std::errc() ? end : buf);
            } else {
                out += st.textOrEmpty(c);
            }
        }
    }
    return out;
}

void refuseWrites(db::Connection& conn, const std::string& name, Write write, const std::string& table,
                  const std::string& condition, const std::string& message)
{
    const std::string verb = write == Write::Insert ? "insert" : write == Write::Update ? "update" : "delete";
    if (!conn.isServer()) {
        conn.execNative("create trigger " + name + " before " + verb + " on " + db::sqlIdent(table) +
                        (condition.empty() ? "" : " when " + condition) + " begin select raise(abort, " +
                        db::sqlQuote(message) + "); end");
        return;
    }
    const std::string row = write == Write::Delete ? "old" : "new";
    conn.execNative("create function " + name + "() returns trigger language plpgsql as $$ begin if " +
                    (condition.empty() ? "true" : condition) + " then raise exception " + db::sqlQuote(message) +
                    "; end if; return " + row + "; end $$");
    conn.execNative("create trigger " + name + " before " + verb + " on " + db::sqlIdent(table) +
                    " for each row execute function " + name + "()");
}

void dropRefusal(db::Connection& conn, const std::string& name, const std::string& table)
{
    if (!conn.isServer()) {
        conn.execNative("drop trigger " + name);
        return;
    }
    conn.execNative("drop trigger " + name + " on " + db::sqlIdent(table));
    conn.execNative("drop function " + name + "()");
}

int indexesNaming(db::Connection& conn, const std::string& table, const std::string& column)
{
    const std::string sql = conn.isServer()
        ? "select count(*) from pg_indexes where tablename = ? and indexdef like ?"
        : "select count(*) from sqlite_master where type = 'index' and tbl_name = ? and sql like ?";
    db::Statement st = conn.prepareNative(sql);
    st.bind(1, table).bind(2, "%" + column + "%");
    return st.step() ? static_cast<int>(st.integer(0)) : 0;
}

void OnBothEngines::SetUp()
{
    if (GetParam() == Engine::Server && !testServer()) GTEST_SKIP() << kNoServer;
}

std::string engineName(const ::testing::TestParamInfo<Engine>& info)
{
    return info.param == Engine::File ? "File" : "Server";
}

}  // namespace rsgz::test
