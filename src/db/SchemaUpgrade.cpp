#include "db/SchemaUpgrade.h"

#include <cstdlib>

#include "db/Native.h"

#include <algorithm>

#include "db/Connection.h"
#include "db/SqlText.h"

namespace rsgz::db {

namespace {

void add(SchemaStep& step, SchemaAdditions more)
{
    std::move(more.tables.begin(), more.tables.end(), std::back_inserter(step.tables));
    std::move(more.columns.begin(), more.columns.end(), std::back_inserter(step.columns));
    std::move(more.statements.begin(), more.statements.end(), std::back_inserter(step.statements));
}

std::vector<SchemaStep> buildSteps()
{
    // Version 2: withholding under the wage-tax law, and the reminders of due dates.
    SchemaStep second;
    second.version = 2;
    add(second, taxLawSchemaAdditions());
    add(second, reminderSchemaAdditions());
    // Version 3: the record of the daily close-time copy of a shared database.
    SchemaStep third;
    third.version = 3;
    add(third, dailyCopySchemaAdditions());
    return {second, third};
}

TableDef* tableNamed(std::vector<TableDef>& tables, const std::string& name)
{
    auto it = std::find_if(tables.begin(), tables.end(), [&](const TableDef& t) { return t.name == name; });
    return it == tables.end() ? nullptr : &*it;
}

std::string addColumnSql(const std::string& table, const ColumnDef& c)
{
    // The engine appends ", <definition>" to the table's stored statement, which then reads as
    // the statement a fresh database of the newer version is made with.
    return "alter table " + sqlIdent(table) + " add column " + sqlIdent(c.name) + " " + declaredType(c.type, c.size);
}

// The new objects of one step on a database of the version before it.
void applyStep(Connection& conn, const SchemaStep& step)
{
    for (const TableDef& t : step.tables) conn.execNative(createTableSql(t));
    for (const auto& [table, column] : step.columns) conn.execNative(addColumnSql(table, column));
    std::vector<TableDef> added = step.tables;
    for (const std::string& sql : schemaIndexSql(added)) conn.execNative(sql);
    for (const std::string& sql : step.statements) conn.execNative(sql);
}

}  // namespace

const std::vector<SchemaStep>& schemaSteps()
{
    static const std::vector<SchemaStep> steps = buildSteps();
    return steps;
}

int currentSchemaVersion() { return schemaSteps().empty() ? 1 : schemaSteps().back().version; }

std::vector<TableDef> schemaTablesAt(int version)
{
    std::vector<TableDef> tables = firstVersionTables();
    for (const SchemaStep& step : schemaSteps()) {
        if (step.version > version) break;
        tables.insert(tables.end(), step.tables.begin(), step.tables.end());
        for (const auto& [table, column] : step.columns)
            if (TableDef* t = tableNamed(tables, table)) t->columns.push_back(column);
    }
    return tables;
}

// A server's database keeps the version in its comment ("rsgz schema 2"), which its owner sets
// inside the same transaction as the steps.
constexpr const char* kServerVersionWord = "rsgz schema ";

int serverSchemaVersion(Connection& conn)
{
    Statement st = conn.prepareNative(
        "select shobj_description(oid, 'pg_database') from pg_database where datname = current_database()");
    const std::string comment = st.step() ? st.textOrEmpty(0) : std::string();
    if (!comment.starts_with(kServerVersionWord)) return 1;
    const int v = std::atoi(comment.c_str() + std::string_view(kServerVersionWord).size());
    return v <= 0 ? 1 : v;
}

int schemaVersionOf(Connection& conn)
{
    if (conn.isServer()) return serverSchemaVersion(conn);
    Statement st = conn.prepareNative("PRAGMA user_version");
    const int version = st.step() ? static_cast<int>(st.integer(0)) : 0;
    return version <= 0 ? 1 : version;
}

void setSchemaVersion(Connection& conn, int version)
{
    if (conn.isServer()) {
        // The statement names the database by itself, whatever the case of its letters.
        conn.execNative("do $$ begin execute format('comment on database %I is %L', current_database(), "
                        + sqlQuote(kServerVersionWord + std::to_string(version)) + "); end $$");
        return;
    }
    conn.execNative("PRAGMA user_version=" + std::to_string(version));
}

void createSchemaAt(Connection& conn, int version)
{
    const std::vector<TableDef> tables = schemaTablesAt(version);
    for (const TableDef& t : tables)
        if (!t.ownStatement) conn.execNative(createTableSql(t));
    for (const auto& lines : {createGongsiTableLines(), createYinghangSetTableLines(), createGzxmLines(),
                              createGzdjLines(), createGzdjXmLines()})
        conn.exec(joinSqlLines(lines));
    for (const std::string& sql : schemaIndexSql(tables)) conn.execNative(sql);
    for (const SchemaStep& step : schemaSteps())
        if (step.version <= version)
            for (const std::string& sql : step.statements) conn.execNative(sql);
    setSchemaVersion(conn, version);
}

int applySchemaSteps(Connection& conn)
{
    const int had = schemaVersionOf(conn);
    for (const SchemaStep& step : schemaSteps())
        if (step.version > had) applyStep(conn, step);
    if (had < currentSchemaVersion()) setSchemaVersion(conn, currentSchemaVersion());
    return had;
}

}  // namespace rsgz::db
