#pragma once
#include <string>
#include <vector>

#include "query/TreeQueries.h"

namespace rsgz::query {

// The choice of the columns whose values make up the levels of a module's query tree: the chosen
// columns in level order on the left, the candidates on the right. Nothing is written until save()
// or regenerate(); regenerate() builds from the list as shown, saved or not.
class QueryDefinition {
public:
    static constexpr size_t kMaxLevels = 4;

    QueryDefinition(TreeQueries& trees, int module);

    const std::vector<std::string>& chosen() const { return chosen_; }
    const std::vector<std::string>& candidates() const { return candidates_; }

    // Adds a candidate at the end unless it is there already; a fifth column is refused with a
    // notice (the tree has four levels). False when nothing was added.
    bool add(const std::string& candidate);
    // The chosen column at i (-1: none selected) removed or moved; each returns the position of the
    // selection afterwards. Without a selection the notice "请在左边的列表中选择一个字段！".
    int remove(int i);
    int moveUp(int i);
    int moveDown(int i);
    void clear() { chosen_.clear(); }
    void save();
    // 重生列表: "未定义查询字段！" when the list is empty.
    void regenerate();

private:
    bool selected(int i) const;

    TreeQueries& trees_;
    int module_;
    std::vector<std::string> chosen_;
    std::vector<std::string> candidates_;
};

}  // namespace rsgz::query
