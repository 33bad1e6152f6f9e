#include "db/SchemaCheck.h"

#include "db/Native.h"

#include <algorithm>
#include <fstream>
#include <map>

#include "db/Connection.h"
#include "db/Schema.h"
#include "db/SchemaUpgrade.h"
#include "db/SqlText.h"

namespace rsgz::db {

namespace {

struct SchemaObject {
    std::string type, table, sql;
};
using Objects = std::map<std::string, SchemaObject>;

struct ColumnShape {
    std::string name, shape;
    bool operator==(const ColumnShape&) const = default;
};

std::string textAt(sqlite3_stmt* st, int column)
{
    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(st, column));
    return t ? std::string(t, static_cast<size_t>(sqlite3_column_bytes(st, column))) : std::string();
}

// Runs sql with an optional bound text and hands every row to take; throws DbError.
template <class Take>
void eachRow(sqlite3* db, const char* sql, const std::string* bound, Take take)
{
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    if (rc == SQLITE_OK && bound) sqlite3_bind_text(st, 1, bound->c_str(), -1, SQLITE_TRANSIENT);
    if (rc == SQLITE_OK)
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) take(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) {
        const std::string msg = sqlite3_errmsg(db);
        throw engineError(rc, msg, msg, sql);
    }
}

// The indexes the engine makes for a table's own key and unique constraints have no statement;
// they follow from the table's, which is compared.
bool engineIndex(const std::string& type, const std::string& name, bool hasSql)
{
    return type == "index" && !hasSql && name.rfind("sqlite_autoindex_", 0) == 0;
}

// The engine's statistics tables, which an analysis of the file may leave; they hold no code.
bool statisticsTable(const SchemaObject& o, const std::string& name)
{
    static const std::map<std::string, std::string> known = {
        {"sqlite_stat1", "CREATE TABLE sqlite_stat1(tbl,idx,stat)"},
        {"sqlite_stat4", "CREATE TABLE sqlite_stat4(tbl,idx,neq,nlt,ndlt,sample)"},
    };
    const auto it = known.find(name);
    return o.type == "table" && it != known.end() && o.sql == it->second;
}

Objects objectsOf(sqlite3* db)
{
    Objects objects;
    eachRow(db, "select type, name, tbl_name, sql from sqlite_master", nullptr, [&](sqlite3_stmt* st) {
        const std::string type = textAt(st, 0), name = textAt(st, 1);
        if (engineIndex(type, name, sqlite3_column_type(st, 3) != SQLITE_NULL)) return;
        objects[name] = {type, textAt(st, 2), textAt(st, 3)};
    });
    return objects;
}

std::vector<ColumnShape> columnsOf(sqlite3* db, const std::string& table)
{
    std::vector<ColumnShape> columns;
    eachRow(db, "select name, type, \"notnull\", dflt_value, pk, hidden from pragma_table_xinfo(?)", &table,
            [&](sqlite3_stmt* st) {
                std::string shape;
                for (int i = 1; i < 6; ++i) shape += textAt(st, i) + (sqlite3_column_type(st, i) == SQLITE_NULL ? "\x01" : "\x02");
                columns.push_back({textAt(st, 0), shape});
            });
    return columns;
}

TableDifference tableDifference(sqlite3* file, sqlite3* fresh, const std::string& table)
{
    TableDifference d{table, {}, {}, {}, false};
    const std::vector<ColumnShape> have = columnsOf(file, table), want = columnsOf(fresh, table);
    auto find = [](const std::vector<ColumnShape>& in, const std::string& name) {
        return std::find_if(in.begin(), in.end(), [&](const ColumnShape& c) { return c.name == name; });
    };
    for (const ColumnShape& w : want) {
        const auto h = find(have, w.name);
        if (h == have.end()) d.missingColumns.push_back(w.name);
        else if (h->shape != w.shape) d.changedColumns.push_back(w.name);
    }
    for (const ColumnShape& h : have)
        if (find(want, h.name) == want.end()) d.extraColumns.push_back(h.name);
    d.otherOrder = d.missingColumns.empty() && d.extraColumns.empty() && d.changedColumns.empty() && have != want;
    return d;
}

std::vector<std::string>* extrasOfType(SchemaDifferences& d, const std::string& type)
{
    if (type == "index") return &d.extraIndexes;
    if (type == "trigger") return &d.extraTriggers;
    if (type == "view") return &d.extraViews;
    return &d.extraTables;
}

// Objects the program makes again at every start when they are missing.
bool madeAtStart(const std::string& name, const SchemaObject& o)
{
    if (o.type == "index") return true;
    const TableDef* t = findTable(name);
    return t && t->ownStatement;
}

int fileVersion(const ReadOnlyFile& file)
{
    int version = 0;
    eachRow(file.db, "PRAGMA user_version", nullptr, [&](sqlite3_stmt* st) { version = sqlite3_column_int(st, 0); });
    return version <= 0 ? 1 : version;
}

}  // namespace

void createSchema(Connection& conn) { createSchemaAt(conn, currentSchemaVersion()); }

bool SchemaDifferences::empty() const
{
    return !newerVersion && missingTables.empty() && extraTables.empty() && extraIndexes.empty() && extraTriggers.empty()
        && extraViews.empty() && changedTables.empty() && changedIndexes.empty();
}

SchemaDifferences compareWithSchema(const std::string& path)
{
    const ReadOnlyFile file(path);
    SchemaDifferences d;
    d.fileVersion = fileVersion(file);
    if (d.fileVersion > currentSchemaVersion()) {
        d.newerVersion = true;
        return d;
    }
    // An older file is compared with the schema of its own version: the login brings it up to date.
    Connection memory(":memory:");
    createSchemaAt(memory, d.fileVersion);
    const Objects want = objectsOf(Native::handle(memory));
    const Objects have = objectsOf(file.db);

    for (const auto& [name, o] : have) {
        const auto w = want.find(name);
        if (w == want.end() || w->second.type != o.type || w->second.table != o.table) {
            if (!statisticsTable(o, name)) extrasOfType(d, o.type)->push_back(name);
            continue;
        }
        if (o.type == "table") d.programTablesFound = d.programTablesFound || findTable(name);
        if (o.sql == w->second.sql) continue;
        if (o.type == "table") d.changedTables.push_back(tableDifference(file.db, Native::handle(memory), name));
        else d.changedIndexes.push_back(name);
    }
    for (const auto& [name, o] : want) {
        const auto h = have.find(name);
        if (h != have.end() && h->second.type == o.type) continue;
        if (o.type == "table" && !madeAtStart(name, o)) d.missingTables.push_back(name);
    }
    // The schema's own order reads better than the alphabet's.
    std::vector<std::string> order;
    for (const TableDef& t : schemaTablesAt(d.fileVersion)) order.push_back(t.name);
    auto rank = [&](const std::string& n) { return std::find(order.begin(), order.end(), n) - order.begin(); };
    std::sort(d.missingTables.begin(), d.missingTables.end(), [&](auto& a, auto& b) { return rank(a) < rank(b); });
    return d;
}

FileInspection inspectDatabaseFile(const std::string& path)
{
    using Verdict = FileInspection::Verdict;
    std::ifstream in(path, std::ios::binary);
    if (!in) return {Verdict::CannotOpen, "cannot read the file"};
    // Every database file of the engine starts with these 16 bytes (the closing zero included).
    static constexpr char kHeader[] = "SQLite format 3";
    char start[sizeof kHeader] = {};
    if (!in.read(start, sizeof start) || !std::equal(start, start + sizeof start, kHeader))
        return {Verdict::NotADatabase, ""};
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    const std::string opened = rc == SQLITE_OK ? std::string() : db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    sqlite3_close(db);
    if (rc != SQLITE_OK) return {Verdict::CannotOpen, opened};
    std::string problems;
    try {
        problems = quickCheckFile(path);
    } catch (const DbError& e) {
        return {Verdict::CannotOpen, e.what()};
    }
    if (problems.empty()) return {};
    return {Verdict::Damaged, problems};
}

}  // namespace rsgz::db
