#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "db/FieldType.h"
#include "db/Value.h"

namespace rsgz::db {

// Statements are kept as lines and passed joined with CR LF, so that later steps can take a list's
// statement apart again (its conditions, its "order by" line).
using SqlLines = std::vector<std::string>;
std::string joinSqlLines(const SqlLines& lines);
SqlLines splitSqlLines(std::string_view text);

// The one way a value enters a statement as text: between single quotes, with every single quote
// doubled, so O'Brien is stored and found as typed and can never end the literal early.
std::string sqlQuote(std::string_view value);

// The one way a table or column name enters a statement: between square brackets, which both the
// statements of the program's own dialect and the engine read as a name (double quotes would be a
// text value in the dialect). A name holding "]" cannot be bracketed; it is double-quoted instead,
// which only a statement in the engine's own words may contain.
std::string sqlIdent(std::string_view name);

// A value as a literal of the given logical type: currency and double bare, dates between "#",
// text and the rest quoted (through sqlQuote); a yes/no value as true or false. A missing yes/no
// value and an empty or missing date are null. A bare value that is not a plain decimal number is
// read leniently (its leading number, else 0) and written as one.
std::string sqlLiteral(const Value& value, FieldType type);

}  // namespace rsgz::db
