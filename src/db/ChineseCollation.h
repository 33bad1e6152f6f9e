#pragma once
#include <string>
#include <string_view>

struct sqlite3;

namespace rsgz::db {

// The sort order a Chinese office expects of names and words: Latin letters without regard to
// case, then the common characters in pinyin order (the order of the national character set, whose
// first level is arranged by pinyin), then the rarer characters of the extended set, then whatever
// that set cannot hold. It exists only inside the running program: the connection registers it
// under kChineseCollation and sort lines name it, so the file itself never depends on it and stays
// readable by any standard tool.
inline constexpr const char* kChineseCollation = "zh";

void registerChineseCollation(sqlite3* db);

// Three-way comparison of two UTF-8 texts in that order (negative, zero, positive). Texts equal
// but for Latin case compare by their bytes, so the order is total.
int compareChinese(std::string_view a, std::string_view b);

// One term of an order line: the column, sorted in the order above, descending when asked.
// Numbers and dates are unaffected by the collation; only text is compared by it.
std::string sqlOrderTerm(std::string_view column, bool descending = false);

}  // namespace rsgz::db
