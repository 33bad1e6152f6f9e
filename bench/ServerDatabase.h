// The database server of the benchmarks: the test server the environment names (RSGZ_TEST_PGHOST,
// RSGZ_TEST_PGPORT, RSGZ_TEST_PGUSER, RSGZ_TEST_PGPASSWORD, as for the tests), a temporary database
// on it for one benchmark program, and a copy of a database file's rows into it. A benchmark takes
// the engine as its argument (0 the file, 1 the server) and its server half is skipped, saying
// why, without a server.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/DatabaseContents.h"
#include "db/Connection.h"
#include "db/Dialect.h"
#include "db/SqlText.h"

namespace rsgz::bench {

enum class Engine { File = 0, Server = 1 };

// The engine argument is the benchmark's argument number `arg`.
inline Engine engineOf(const benchmark::State& state, int arg = 0)
{
    return state.range(arg) == 1 ? Engine::Server : Engine::File;
}

inline std::optional<db::ServerTarget> benchServer()
{
    auto env = [](const char* name) -> std::string {
        const char* v = std::getenv(name);
        return v ? v : "";
    };
    if (env("RSGZ_TEST_PGHOST").empty()) return std::nullopt;
    db::ServerTarget t;
    t.host = env("RSGZ_TEST_PGHOST");
    t.port = env("RSGZ_TEST_PGPORT").empty() ? 5432 : std::atoi(env("RSGZ_TEST_PGPORT").c_str());
    t.user = env("RSGZ_TEST_PGUSER").empty() ? "postgres" : env("RSGZ_TEST_PGUSER");
    t.password = env("RSGZ_TEST_PGPASSWORD");
    t.database = "postgres";
    t.applicationName = "rsgz-bench";
    return t;
}

// True when the benchmark can run on its engine; else it is marked skipped with the reason.
inline bool engineAvailable(benchmark::State& state, int arg = 0)
{
    if (engineOf(state, arg) == Engine::File || benchServer()) return true;
    state.SkipWithError("no server: set RSGZ_TEST_PGHOST (and RSGZ_TEST_PGPORT, RSGZ_TEST_PGUSER, RSGZ_TEST_PGPASSWORD)");
    return false;
}

// A database on the server, holding what a new office's database holds, dropped when it goes.
class ServerDatabase {
public:
    ServerDatabase() : admin_(*benchServer())
    {
        static int counter = 0;
        name_ = "rsgzb_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
        db::createServerDatabase(admin_, name_);
        target_ = admin_;
        target_.database = name_;
        db::Connection conn(target_);
        app::createDatabaseContents(conn);
    }
    ~ServerDatabase()
    {
        try {
            db::dropServerDatabase(admin_, name_);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "benchmark database %s not dropped: %s\n", name_.c_str(), e.what());
        }
    }
    ServerDatabase(const ServerDatabase&) = delete;
    ServerDatabase& operator=(const ServerDatabase&) = delete;
    const db::ServerTarget& target() const { return target_; }

    // Every row of every table of a database file made from the same schema, in place of what this
    // database holds, in one transaction; many rows go in one statement. The key sequences are
    // moved past the keys copied.
    void copyFrom(const std::string& path)
    {
        db::Connection from(path);
        db::Connection to(target_);
        db::Transaction t(to);
        for (const std::string& table : from.tableNames()) {
            if (!to.hasTable(table)) continue;
            to.execNative("delete from " + quoted(table));
            copyTable(from, to, table);
            const std::string key = to.keyColumn(table);
            if (!key.empty())
                to.execNative("select setval(pg_get_serial_sequence(" + db::sqlQuote(quoted(table)) + ", " +
                              db::sqlQuote(key) + "), coalesce(max(" + quoted(key) + "), 0) + 1, false) from " +
                              quoted(table));
        }
        t.commit();
    }

private:
    static std::string quoted(const std::string& name) { return db::postgresDialect().quoteName(name); }

    static std::string insertOf(const std::string& table, const std::vector<std::string>& columns, size_t rows)
    {
        std::string sql = "insert into " + quoted(table) + " (";
        for (size_t c = 0; c < columns.size(); ++c) sql += (c ? "," : "") + quoted(columns[c]);
        sql += ") values ";
        for (size_t r = 0; r < rows; ++r) {
            sql += r ? ",(" : "(";
            for (size_t c = 0; c < columns.size(); ++c) sql += c ? ",?" : "?";
            sql += ")";
        }
        return sql;
    }

    static void copyTable(db::Connection& from, db::Connection& to, const std::string& table)
    {
        const std::vector<std::string> columns = from.columnNames(table);
        std::vector<db::FieldType> types;
        for (const std::string& c : columns) types.push_back(to.columnInfo(table, c).type);
        const size_t batch = std::max<size_t>(1, 30000 / columns.size());
        std::string select = "select ";
        for (size_t c = 0; c < columns.size(); ++c) select += (c ? "," : "") + db::sqlIdent(columns[c]);
        db::Statement rows = from.prepareNative(select + " from " + db::sqlIdent(table));
        std::vector<std::optional<std::string>> values;
        auto flush = [&] {
            if (values.empty()) return;
            db::Statement ins = to.prepareNative(insertOf(table, columns, values.size() / columns.size()));
            for (size_t i = 0; i < values.size(); ++i) ins.bind(static_cast<int>(i + 1), values[i]);
            ins.run();
            values.clear();
        };
        while (rows.step()) {
            for (size_t c = 0; c < columns.size(); ++c) {
                std::optional<std::string> v = rows.text(static_cast<int>(c));
                // A file may hold an empty text where the server keeps no value.
                if (v && v->empty() && types[c] != db::FieldType::Text && types[c] != db::FieldType::Memo) v.reset();
                if (v && types[c] == db::FieldType::YesNo) v = *v == "0" ? "false" : "true";
                values.push_back(std::move(v));
            }
            if (values.size() >= batch * columns.size()) flush();
        }
        flush();
    }

    db::ServerTarget admin_;
    db::ServerTarget target_;
    std::string name_;
};

}  // namespace rsgz::bench
