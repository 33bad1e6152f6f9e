#pragma once
#include <string>
#include <string_view>

namespace rsgz::db {

// The database compares names and text ignoring the case of Latin letters only; these do the same
// in the program. Only bytes below 0x80 are folded: the bytes of a multi-byte UTF-8 character are
// all above, so a Chinese name never matches another by accident.
constexpr char foldLatin(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
std::string foldLatin(std::string_view s);
bool equalsIgnoringLatinCase(std::string_view a, std::string_view b);

}  // namespace rsgz::db
