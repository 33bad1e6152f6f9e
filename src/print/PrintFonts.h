#pragma once
#include <string>

namespace rsgz::print {

// The family every print path uses for a font named in a stored layout. Old layouts name fonts of
// another system ("MS Sans Serif", "宋体", "黑体" …) that are not installed here; those, and an
// empty name, become the installed CJK family so Chinese text never prints as empty boxes.
// Any other name is kept.
std::string installedFontFamily(const std::string& name);

// The CJK family the program installs with it.
inline constexpr const char* kCjkFontFamily = "WenQuanYi Micro Hei";

}  // namespace rsgz::print
