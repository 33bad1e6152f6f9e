#include "db/SchemaUpgrade.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>

#include "db/Connection.h"
#include "db/SchemaCheck.h"
#include "support/TempDir.h"

using namespace rsgz::db;

namespace {

// A database the previous program made: its template with five sample employees and four sets.
const std::string kFirstVersionFile = std::string(RSGZ_TEST_DATA) + "/vesk-v1.db";

std::string copyOfFirstVersion(const rsgz::test::TempDir& dir)
{
    const std::string path = dir.path() + "/vesk.db";
    std::filesystem::copy_file(kFirstVersionFile, path);
    return path;
}

int countOf(Connection& conn, const std::string& table)
{
    Statement st = conn.prepareNative("select count(*) from " + table);
    return st.step() ? static_cast<int>(st.integer(0)) : -1;
}

}  // namespace

// The previous version's file is one of the program's databases of version 1: a restore takes it
// as it is, and after the steps it is exactly what a fresh database of the newest version is.
TEST(SchemaUpgrade, AFirstVersionFileBecomesExactlyTheNewestSchemaKeepingItsRows)
{
    rsgz::test::TempDir dir;
    const std::string path = copyOfFirstVersion(dir);
    const SchemaDifferences before = compareWithSchema(path);
    EXPECT_TRUE(before.empty());
    EXPECT_EQ(before.fileVersion, 1);

    Connection conn(path);
    ASSERT_EQ(schemaVersionOf(conn), 1);
    {
        Transaction tx(conn);
        EXPECT_EQ(applySchemaSteps(conn), 1);
        tx.commit();
    }
    EXPECT_EQ(schemaVersionOf(conn), currentSchemaVersion());
    EXPECT_EQ(countOf(conn, "员工基本情况"), 5);
    EXPECT_EQ(countOf(conn, "帐套"), 4);
    EXPECT_EQ(applySchemaSteps(conn), currentSchemaVersion());  // a second run finds nothing to do
    conn.close();

    const SchemaDifferences after = compareWithSchema(path);
    EXPECT_TRUE(after.empty()) << "missing " << after.missingTables.size() << ", changed "
                               << after.changedTables.size() << ", extra " << after.extraTables.size();
    EXPECT_EQ(after.fileVersion, currentSchemaVersion());
}

// A step that fails leaves the file as it was: version, tables and rows.
TEST(SchemaUpgrade, AFailedStepIsRolledBackWithTheVersion)
{
    rsgz::test::TempDir dir;
    const std::string path = copyOfFirstVersion(dir);
    Connection conn(path);
    // The version is recorded inside the caller's transaction: whatever fails after the steps
    // takes their tables and the version back with it.
    bool failed = false;
    try {
        Transaction tx(conn);
        applySchemaSteps(conn);
        conn.execNative("insert into 没有的表 values (1)");
        tx.commit();
    } catch (const DbError&) {
        failed = true;
    }
    EXPECT_TRUE(failed);
    EXPECT_EQ(schemaVersionOf(conn), 1);
    EXPECT_EQ(countOf(conn, "员工基本情况"), 5);
    for (const SchemaStep& step : schemaSteps())
        for (const TableDef& t : step.tables) {
            Statement st = conn.prepareNative("select count(*) from sqlite_master where name = '" + t.name + "'");
            ASSERT_TRUE(st.step());
            EXPECT_EQ(st.integer(0), 0) << t.name;
        }
}

TEST(SchemaUpgrade, FreshDatabasesAreTheNewestVersionAndANewerFileIsToldApart)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.path() + "/fresh.db";
    {
        sqlite3* raw = nullptr;
        sqlite3_open(path.c_str(), &raw);
        sqlite3_close(raw);
        Connection conn(path);
        createSchema(conn);
        EXPECT_EQ(schemaVersionOf(conn), currentSchemaVersion());
        setSchemaVersion(conn, currentSchemaVersion() + 1);
    }
    const SchemaDifferences d = compareWithSchema(path);
    EXPECT_TRUE(d.newerVersion);
    EXPECT_FALSE(d.empty());
    EXPECT_EQ(d.fileVersion, currentSchemaVersion() + 1);
}

// Each version's tables are the first version's with the steps up to it, columns appended last.
TEST(SchemaUpgrade, EveryVersionsTablesGrowFromTheFirst)
{
    EXPECT_EQ(schemaTablesAt(1).size(), firstVersionTables().size());
    EXPECT_EQ(schemaTablesAt(currentSchemaVersion()).size(), schemaTables().size());
    auto hasColumn = [](const std::vector<TableDef>& tables, const std::string& table, const std::string& column) {
        for (const TableDef& t : tables)
            if (t.name == table)
                return std::any_of(t.columns.begin(), t.columns.end(), [&](const ColumnDef& c) { return c.name == column; });
        return false;
    };
    for (const SchemaStep& step : schemaSteps()) {
        const std::vector<TableDef> before = schemaTablesAt(step.version - 1), after = schemaTablesAt(step.version);
        EXPECT_EQ(after.size(), before.size() + step.tables.size());
        for (const auto& [table, column] : step.columns) {
            EXPECT_FALSE(hasColumn(before, table, column.name)) << table << "." << column.name;
            EXPECT_TRUE(hasColumn(after, table, column.name)) << table << "." << column.name;
        }
    }
}
