#pragma once
#include <string>
#include <string_view>

namespace rsgz::db {

// A date box's text once the user leaves it: what parseDateText reads (yyyy-m-d, yyyy/m/d,
// yyyy.m.d, with or without a time), or eight digits yyyymmdd, in its stored form; empty when it
// is not a real date.
std::string typedDateText(std::string_view text);

}  // namespace rsgz::db
