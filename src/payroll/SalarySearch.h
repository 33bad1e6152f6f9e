#pragma once
#include <string>
#include <vector>

namespace rsgz::db {
class DataSet;
}
namespace rsgz::query {
class SortSettings;
class TreeQueries;
}  // namespace rsgz::query

namespace rsgz::payroll {

class SalaryView;

// The salary page's query tree, sort bar and quick search, all on the view's filter: a click on a
// node rebuilds the view for the set chosen and narrows it to the node's path, the sort bar orders
// it and the quick search narrows it further (both by the displayed values for the computed
// columns: the formula items, the tax and the net pay).
class SalarySearch {
public:
    static constexpr int kModule = 11;

    SalarySearch(SalaryView& view, db::DataSet& gzb, query::TreeQueries& trees, query::SortSettings& settings)
        : view_(view), gzb_(gzb), trees_(trees), settings_(settings)
    {
    }

    // A click on a node of the salary tree (-1: beside the nodes, the whole set). The quick search
    // is dropped, the sort stays; a path through a 工资帐套 level shows that set. False, with the
    // view as it was, when the tree's field list names a column the view does not have
    // ("检索列表过时，应该重新生成！").
    bool clickNode(const std::string& set, int node);
    // The sort bar: a listed field and 升序 or 降序; the view is read in that order and the choice
    // stored. False when the choice is not one the boxes offer.
    bool sort(const std::string& field, const std::string& order);
    // The quick search: a listed field and a text; rows whose column contains the text. An empty
    // text drops the search in force (false when there was none).
    bool search(const std::string& field, const std::string& text);

    // The columns the quick search and the sort offer: the view's columns in grid order without
    // 序号; the computed ones are searched and ordered by the program.
    std::vector<std::string> searchFields() const;
    std::vector<std::string> sortFields() const;

private:
    SalaryView& view_;
    db::DataSet& gzb_;
    query::TreeQueries& trees_;
    query::SortSettings& settings_;
};

}  // namespace rsgz::payroll
