#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "db/CanonicalRow.h"
#include "db/Connection.h"
#include "db/SqlText.h"
#include "db/TableCopy.h"
#include "support/EngineFixture.h"

namespace {

using namespace rsgz;
using db::FieldType;

// What an older file may hold in a column, as the engine stored it, and the text both sides of a
// copy agree on: amounts with four decimals, yes/no as 1 or 0, dates without a zero time, the
// empty text of a number or date column as null; a word in a number column stops the copy.
TEST(CanonicalValue, GivesOneTextForEveryFormOfAValue)
{
    struct Case {
        FieldType type;
        const char* stored;  // a literal in the engine's own words
        std::optional<std::string> canonical;
        bool refused = false;
    };
    const std::vector<Case> cases = {
        {FieldType::Currency, "12.5", "12.5000"},
        {FieldType::Currency, "'1,234.5'", "1234.5000"},
        {FieldType::Currency, "-0.0001", "-0.0001"},
        {FieldType::Currency, "''", std::nullopt},
        {FieldType::Currency, "'十元'", std::nullopt, true},
        {FieldType::Integer, "'42'", "42"},
        {FieldType::Integer, "'7.0'", "7"},
        {FieldType::Integer, "'x1'", std::nullopt, true},
        {FieldType::YesNo, "-1", "1"},
        {FieldType::YesNo, "0", "0"},
        {FieldType::Double, "0.1", "0.1"},
        {FieldType::Double, "'2.50'", "2.5"},
        {FieldType::DateTime, "'2008-01-09 00:00:00'", "2008-01-09"},
        {FieldType::DateTime, "'2008-01-09T08:30:00'", "2008-01-09 08:30:00"},
        {FieldType::DateTime, "''", std::nullopt},
        {FieldType::Text, "'O''Brien'", "O'Brien"},
        {FieldType::Text, "''", ""},
        {FieldType::Memo, "NULL", std::nullopt},
    };
    test::TemporaryDatabase file(test::Engine::File);
    db::Connection& conn = file.conn();
    for (const Case& c : cases) {
        const db::ColumnDef column{"值", c.type, c.type == FieldType::Text ? 20 : 0};
        conn.execNative("drop table if exists t");
        conn.execNative(db::createTableSql({"t", {column}}));
        conn.execNative(std::string("insert into t values (") + c.stored + ")");
        db::Statement st = conn.prepareNative("select [值] from t");
        ASSERT_TRUE(st.step());
        if (c.refused) {
            EXPECT_THROW(db::canonicalValue(st, 0, "t", column), db::DbError) << c.stored;
            continue;
        }
        EXPECT_EQ(db::canonicalValue(st, 0, "t", column), c.canonical) << c.stored;
    }
}

// The checksum does not depend on the order the rows come in, but on every value and on where
// one value ends and the next begins.
TEST(RowDigest, DependsOnTheRowsNotOnTheirOrder)
{
    using Rows = std::vector<db::CanonicalRow>;
    const auto digest = [](const Rows& rows) {
        db::RowDigest d;
        for (const db::CanonicalRow& r : rows) d.add(r);
        return d.result();
    };
    const Rows rows = {{"A01", "张三", "12.5000"}, {"A02", "李四", std::nullopt}};
    const db::TableDigest base = digest(rows);
    EXPECT_EQ(base.rows, 2);
    EXPECT_EQ(base.checksum.size(), 32u);
    EXPECT_EQ(digest({rows[1], rows[0]}), base);
    const Rows others[] = {
        {{"A01", "张三", "12.5000"}, {"A02", "李四", ""}},             // empty text is not null
        {{"A01", "张三", "12.5001"}, {"A02", "李四", std::nullopt}},   // one digit
        {{"A01", "张三", "12.5000"}},                                  // a row fewer
        {{"A01", "张", "三12.5000"}, {"A02", "李四", std::nullopt}},   // a boundary moved
        {{"A01", "张三", "12.5000"}, {"A02", "李四", std::nullopt}, {"A02", "李四", std::nullopt}},
    };
    for (const Rows& other : others) EXPECT_NE(digest(other), base);
}

}  // namespace
