#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "db/FieldType.h"

namespace rsgz::db {

// What one database engine's statements look like, as facts. The program writes its statements in
// one dialect of its own (below) and the facts of the engine in use turn them into that engine's
// words; a second engine is a second object of this kind, not a second set of branches.
struct Dialect {
    // A name goes between nameOpen and nameClose; a name holding nameClose goes between two
    // nameFallback characters instead, with each nameFallback inside it doubled.
    char nameOpen;
    char nameClose;
    char nameFallback;
    // The declared column types of the creation statements. A text type is textType, its width,
    // textTypeEnd; text types end with caseInsensitiveText, which makes =, <> and like on them
    // ignore the case of Latin letters.
    std::string textType, textTypeEnd;
    std::string memoType, dateType, integerType, doubleType, currencyType, yesNoType;
    std::string caseInsensitiveText;
    // An integer key the database numbers by itself, as declared in a creation statement.
    std::string autoIncrementKey;
    // "select top N …" loses "top N" and ends with rowLimitBefore, N, rowLimitAfter instead.
    std::string rowLimitBefore, rowLimitAfter;
    // A date as a literal: its ISO text between dateOpen and dateClose.
    std::string dateOpen, dateClose;
    // The sort order of Chinese names (ChineseCollation.h): collateWord and its name follow the
    // column of a sort term.
    std::string collateWord;
    std::string chineseCollation;
    // The conditions that a column (written where "@" stands) still holds the value of a parameter
    // exactly, in SQLite's words (the server's are made from them as for every statement): text
    // byte for byte whatever the column's collation, an amount within half a unit of the fourth
    // decimal, a yes/no value by its truth (an imported true may be stored as -1), other values as
    // they are. They make the check that a row was not changed by someone else since it was read.
    std::string sameText, sameAmount, sameTruth, sameValue;

    std::string quoteName(std::string_view name) const;
    std::string declaredType(FieldType type, int size) const;
    std::string textTypeOf(std::string_view width) const;
    std::string rowLimit(std::string_view count) const { return rowLimitBefore + std::string(count) + rowLimitAfter; }
    std::string dateLiteral(std::string_view iso) const { return dateOpen + std::string(iso) + dateClose; }
    std::string orderTerm(std::string_view column, bool descending) const;
    // One of the same… conditions above for a column (its name already quoted).
    static std::string sameCondition(std::string_view pattern, std::string_view column);
};

// The facts of SQLite, the engine the program runs on by default, with the database in one file.
const Dialect& sqliteDialect();
// The facts of the database server (a PostgreSQL database shared by several clerks). Text columns
// are of a case-insensitive text type (the citext extension) held to their width by a domain per
// width, rsgz_text_<width>, and declared with the Chinese sort order, the server's ICU collation.
const Dialect& postgresDialect();

// The statements of this program are written in the desktop-database dialect its users' data grew
// up with: "select top N", #date# literals, create-table types such as money, bit and
// "int IDENTITY PRIMARY KEY", text values between double quotes. This turns one into the statement
// SQLite runs. Only the text outside string literals, quoted names and comments (-- and /* */) is
// touched; a quote inside a value never changes anything. What cannot be given to the engine with
// the same meaning ("top N percent", "top" on one part of a union, a #…# that is no date) is refused
// with a DbError that says why.
//
// Case-insensitive text comparison is not translated here: every text column is declared with the
// dialect's caseInsensitiveText, so =, <> and like on text ignore Latin case in the engine itself.
std::string toSqlite(std::string_view statement);
// The same for the engine whose facts are given.
std::string translateStatement(std::string_view statement, const Dialect& dialect);

// A statement in SQLite's words (what toSqlite gives, and what src/db writes itself) in the words
// of the server: names in brackets or double quotes become double-quoted names with their Latin
// letters in lower case (the server's names are case-sensitive only when quoted, SQLite's never),
// each "?" becomes $1, $2 …, the collations go (the server's text columns are case-insensitive by
// their type and sort in the Chinese order by the collation they are declared with), and in a
// creation statement the column types become the server's types. Values, comments and the rest
// stay as they are.
struct ServerText {
    std::string sql;
    int parameters = 0;
    std::vector<int> textWidths;  // the widths of the text domains a creation statement uses
};
ServerText toServerWords(std::string_view sqliteStatement);
// The name of the server's text domain of a width, "rsgz_text_50"; 0 when a type name is none.
std::string serverTextDomain(int width);
int serverTextDomainWidth(std::string_view typeName);

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
