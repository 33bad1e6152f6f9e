#pragma once
#include <string>
#include <vector>

namespace rsgz::app {

// The two column lists of a module panel: the one-field search's field list and the sort field
// list, each with the entry shown (-1: none).
struct FieldLists {
    std::vector<std::string> search;
    std::vector<std::string> sort;
    int searchIndex = -1;
    int sortIndex = -1;

    bool empty() const { return search.empty() && sort.empty(); }
    std::string searchShown() const { return shown(search, searchIndex); }
    std::string sortShown() const { return shown(sort, sortIndex); }
    bool hasSearchField(const std::string& name) const;

private:
    static std::string shown(const std::vector<std::string>& l, int i);
};

}  // namespace rsgz::app
