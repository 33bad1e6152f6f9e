#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "payroll/SalarySearch.h"
#include "payroll/SalaryView.h"

namespace rsgz::app {
class TDM;
}
namespace rsgz::query {
class SortSettings;
class TreeQueries;
}  // namespace rsgz::query

namespace rsgz::payroll {

struct Period;

// The salary table page (module 11) without its widgets: the set chosen in 请选择工资帐套, the
// view over gzb, the tree, sort bar and quick search on the view's filter, 工资结帐 and 取消结帐,
// and the month 生成新工资表 just made. Every action runs like a button: a database error reaches
// the error box and the page stays usable.
class SalaryPageForm {
public:
    explicit SalaryPageForm(app::TDM& dm);

    // The tree and the stored sort of the page; without them node clicks, sorts and searches do
    // nothing.
    void attachQueries(query::TreeQueries& trees, query::SortSettings& settings);

    SalaryView& view() { return view_; }
    const SalaryView& view() const { return view_; }
    std::vector<std::string> sets;  // every 帐套名称, in table order
    std::string set;                // the set shown
    bool mayClose() const;          // 工资结帐 and 取消结帐 need 工资表管理 and 结帐处理
    // After every read of the view: the window lays out its grid and its boxes.
    std::function<void()> onRead;

    // Each time the module is chosen: the sets again (the one shown stays when it still exists),
    // the whole set without a node or a search; the sort stays. An empty tree is built from its
    // field list.
    void opened();
    void chooseSet(const std::string& name);
    // A node of the salary tree (-1: beside the nodes). A node naming a set shows that set.
    void clickNode(int node);
    void sort(const std::string& field, const std::string& order);
    // The quick search; an empty text shows the whole selection again.
    void search(const std::string& field, const std::string& text);
    // 工资结帐 (true) and 取消结帐 (false) of the rows the view shows, after the question.
    void closeOrReopen(bool closing);
    // After 生成新工资表: the month's set and the month itself, through its tree node when the tree
    // lists it. Returns that node, or -1.
    int showMonth(const Period& p);
    // The view read again as it stands (after the generation window closed without a month).
    void reread();

    // The columns the quick search and the sort offer (empty before the queries are attached).
    std::vector<std::string> searchFields() const;
    std::vector<std::string> sortFields() const;

private:
    void fillSets();
    void build(const std::string& name);
    void read();
    int monthNode(const Period& p) const;

    app::TDM& dm_;
    SalaryView view_;
    query::TreeQueries* trees_ = nullptr;
    std::unique_ptr<SalarySearch> search_;
};

}  // namespace rsgz::payroll
