#pragma once
#include <string>

#include "db/Money.h"

namespace rsgz::print {

// A number by a format text: "0" a digit always shown, "#" a digit shown only when significant,
// "." the decimal point, "," grouping by thousands, "E+" / "E-" scientific notation, text in
// quotes copied, and up to three sections separated by ";" for positive, negative and zero values
// (a negative value in its own section is written without its minus sign). Rounding is half away
// from zero. An empty format gives the shortest plain decimal form ("1234.5").
std::string formatNumber(db::Money value, const std::string& format);

// A whole number in text, blanks around it allowed (page numbers, widths typed into a box); false
// for anything else, a number too large for an int included.
bool parseWholeNumber(const std::string& text, int* out);

}  // namespace rsgz::print
