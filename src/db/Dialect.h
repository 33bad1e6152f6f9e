#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace rsgz::db {

// The statements of this program are written in the desktop-database dialect its users' data grew
// up with: "select top N", #date# literals, create-table types such as money, bit and
// "int IDENTITY PRIMARY KEY", text values between double quotes. This turns one into the statement
// SQLite runs. Only the text outside string literals, quoted names and comments (-- and /* */) is
// touched; a quote inside a value never changes anything. What cannot be given to the engine with
// the same meaning ("top N percent", "top" on one part of a union, a #…# that is no date) is refused
// with a DbError that says why.
//
// Case-insensitive text comparison is not translated here: every text column is declared with
// NOCASE collation, so =, <> and like on text ignore the case of Latin letters in the engine itself.
std::string toSqlite(std::string_view statement);

// A date literal body ("2005-3-1", "2005/3/1", "3/1/2005", with an optional time, "8:30 PM" too) as
// the program stores dates, "2005-03-01" or "2005-03-01 20:30:00"; empty when it is not a date.
std::string isoDateFromLiteral(std::string_view body);

// What the record sets need to know of a select statement (already in SQLite's words) to write rows
// back: whether it reads one base table plainly (no join, distinct, grouping, union or aggregate),
// that table's name, and where its top-level "from" starts (a hidden row key is added before it).
// The items of the select list and the sources of its "from" let a computed column be typed.
struct SelectShape {
    struct Item {
        std::string expr;   // as written, without its name
        std::string alias;  // the name given with "as" (or without it); empty when none
        // A plain column reference ("name", "q.name") names its column here; "*" and "q.*" set star.
        // Empty and false for every other expression.
        std::string column;
        std::string qualifier;
        bool star = false;
    };
    struct Source {
        std::string table;
        std::string alias;  // the table's own name when it is given none
    };
    bool simple = false;
    std::string table;
    size_t fromPos = 0;
    std::vector<Item> items;
    std::vector<Source> sources;
};
SelectShape analyzeSelect(std::string_view sqliteStatement);

// An expression of the select list that is one aggregate call, such as "count(*)" or "sum(a.gz01)":
// which function, and the one column it is taken over (with the table or alias before it), if any.
struct AggregateCall {
    enum class Kind { None, Count, Sum, Total, Avg, MinMax };
    Kind kind = Kind::None;
    std::string qualifier;
    std::string column;
};
AggregateCall parseAggregate(std::string_view expression);

}  // namespace rsgz::db
