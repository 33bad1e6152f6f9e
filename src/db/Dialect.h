#pragma once
#include <string>
#include <string_view>

namespace rsgz::db {

// The statements of this program are written in the desktop-database dialect its users' data grew
// up with: "select top N", #date# literals, create-table types such as money, bit and
// "int IDENTITY PRIMARY KEY". This turns one into the statement SQLite runs. Only the text outside
// string literals and quoted names is touched; a quote inside a value never changes anything.
//
// Case-insensitive text comparison is not translated here: every text column is declared with
// NOCASE collation, so =, <> and like on text ignore the case of Latin letters in the engine itself.
std::string toSqlite(std::string_view statement);

// A date literal body ("2005-3-1", "2005/3/1", "3/1/2005", with an optional time) as ISO text,
// "2005-03-01" or "2005-03-01 08:30:00"; empty when it is not a date.
std::string isoDateFromLiteral(std::string_view body);

// What the record sets need to know of a select statement (already in SQLite's words) to write rows
// back: whether it reads one base table plainly (no join, distinct, grouping, union or aggregate),
// that table's name, and where its top-level "from" starts (a hidden row key is added before it).
struct SelectShape {
    bool simple = false;
    std::string table;
    size_t fromPos = 0;
};
SelectShape analyzeSelect(std::string_view sqliteStatement);

}  // namespace rsgz::db
