#include "db/LatinCase.h"

#include <algorithm>

namespace rsgz::db {

std::string foldLatin(std::string_view s)
{
    std::string out(s);
    for (char& c : out) c = foldLatin(c);
    return out;
}

bool equalsIgnoringLatinCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return foldLatin(x) == foldLatin(y); });
}

}  // namespace rsgz::db
