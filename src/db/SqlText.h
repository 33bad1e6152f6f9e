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

// A value as a literal of the given logical type: currency and double bare, dates between "#",
// text and the rest quoted (through sqlQuote). A bare number that does not parse becomes 0.
std::string sqlLiteral(const Value& value, FieldType type);

}  // namespace rsgz::db
