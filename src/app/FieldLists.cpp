#include "app/FieldLists.h"

#include <algorithm>

namespace rsgz::app {

bool FieldLists::hasSearchField(const std::string& name) const
{
    return std::find(search.begin(), search.end(), name) != search.end();
}

std::string FieldLists::shown(const std::vector<std::string>& l, int i)
{
    return i >= 0 && i < static_cast<int>(l.size()) ? l[static_cast<size_t>(i)] : std::string();
}

}  // namespace rsgz::app
