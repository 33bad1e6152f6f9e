#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "query/ModuleQueries.h"
#include "query/QueryTree.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::query {

// The query trees of the module lists: each module's tree and its two files below set/ (the tree
// and the field list that says which column each level shows), building a tree from the chosen
// columns, and the filter a click on a node runs. Notices go through app::interaction().
class TreeQueries {
public:
    TreeQueries(app::TDM& dm, ModuleQueries& queries) : dm_(dm), queries_(queries) {}

    // The tree a module shows (modules without a tree file keep an empty one).
    const QueryTree& tree(int module) const;
    void setNodeText(int module, int node, std::string text);
    // Tells the view that a module's tree changed; every module sharing the file is told.
    std::function<void(int module)> onTreeChanged;
    // The status hint ("当前数据：…", "正在查询数据.....").
    std::function<void(const std::string&)> onHint;

    // --- files ------------------------------------------------------------------------------------
    // The tree from its file, when the file exists; "载入检索列表错误！" on a fault (what was read stays).
    void load(int module);
    // Writes the module's tree over its file. Throws on a write error.
    void save(int module);
    // The saved field list (empty when there is none). Throws when the file cannot be read.
    std::vector<std::string> fieldList(int module) const;
    void saveFieldList(int module, const std::vector<std::string>& columns) const;

    // --- building -----------------------------------------------------------------------------------
    // The columns a tree level may show: the queryable columns of the module's list.
    std::vector<std::string> candidateColumns(int module);
    // Builds the module's tree from up to four columns with one query, then saves it. A column that
    // is not one of the list's refuses with "左边的列表有误，不属于右边列表的一部分！". False when refused.
    bool build(int module, const std::vector<std::string>& columns);
    // 刷新查询列表: builds from the saved field list ("未定义查询字段！" when there is none).
    void rebuild(int module);

    // --- filtering ----------------------------------------------------------------------------------
    // The click filter: the module's list narrowed to the node's path (node -1: every row). The
    // query it would run, without running it; nothing when refused with a notice.
    std::optional<ListQuery> clickQuery(int module, int node);
    // The conditions of a node's path (the node first, then its ancestors), on the columns of the
    // module's saved field list, each checked against the list that will be narrowed. Nothing when
    // refused with "检索列表过时，应该重新生成！"; no conditions for node -1. The employee picker
    // narrows its own candidate list with these.
    std::optional<std::vector<Condition>> pathConditions(int module, int node, const db::DataSet& list);
    void click(int module, int node);
    // The status text of a node: "当前数据：  " and the path.
    std::string pathText(int module, int node) const;

private:
    void hint(const std::string& text) const;
    void changed(int module) const;

    app::TDM& dm_;
    ModuleQueries& queries_;
    std::map<std::string, QueryTree> trees_;  // by tree file key (modules 1 and 10 share theirs)
};

}  // namespace rsgz::query
