#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "db/FieldType.h"
#include "query/ListQuery.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::query {

class ModuleQueries;

// The notice for a value holding a NUL character, which no statement can carry.
inline constexpr const char* kNoNulInValues = "查询内容不能含有空字符！";

// The department levels of one cascade group, 一级 first.
using DepartmentColumns = std::array<std::string, 4>;

// One window of the combined query family: which page it narrows and how it writes its conditions.
struct CombinedQueryKind {
    int module = 0;             // the page whose list it narrows (the personnel window also serves 10)
    std::string key;            // set/<key>fields.txt (the columns offered), set/<key>fieldss.txt (drop-downs)
    std::string caption;
    int rowsPerColumn = 7;      // boxes per column of the window
    bool typedConditions = false;  // numbers and dates compared by value (training); all others like
    std::vector<DepartmentColumns> cascades;
};

// The whole family, in the order of the pages.
const std::vector<CombinedQueryKind>& combinedQueryKinds();
const CombinedQueryKind* combinedQueryKind(const std::string& caption);
// The window 多条件查询 opens on a page; the payroll-set assignment uses the personnel window.
const CombinedQueryKind* combinedQueryKindOf(int module);

// One check box and value box of the window.
struct QueryBox {
    std::string column;
    db::FieldType type = db::FieldType::Text;
    bool dropDown = false;              // chosen from the dictionary (and the departments)
    std::vector<std::string> choices;   // the drop-down's entries
    int group = -1;                     // cascade group, -1 when the column is no department level
    int level = 0;                      // 1..4 within the group
};

// The behaviour of a combined query window: the boxes from the column files, the department
// cascades, and 查询, which narrows the page's list. Column names from the files are taken only
// when they are columns of the page's list; every value reaches the statement through the
// condition builder, so a quote in a value is just a character searched for.
class CombinedQuery {
public:
    static constexpr size_t kMaxBoxes = 60;

    // module: the page the window was opened on (1 to 5, 7, 8 or 10).
    CombinedQuery(app::TDM& dm, ModuleQueries& queries, int module);

    const CombinedQueryKind& kind() const { return kind_; }
    int module() const { return module_; }
    // Reads the column files (missing files give no boxes) and fills the drop-down lists.
    void load();
    const std::vector<QueryBox>& boxes() const { return boxes_; }

    // The value of a department level changed: the next level of its group (when it is one of the
    // boxes) gets the departments under the levels shown now. Returns that box, or -1.
    int levelChanged(size_t box, const std::vector<std::string>& values);

    // The page's query for the values (one per box, empty for a box not ticked). Nothing when a
    // typed value cannot be read; the notice has been shown.
    std::optional<ListQuery> build(const std::vector<std::string>& values) const;
    // 查询: builds and applies the query to the page's list. A refused value or a failing statement
    // leaves the list with its previous rows and query (the error is thrown on).
    bool run(const std::vector<std::string>& values);

private:
    std::optional<Condition> condition(const QueryBox& box, const std::string& value) const;
    void placeInCascade(QueryBox& box) const;
    int boxOf(const std::string& column) const;

    app::TDM& dm_;
    ModuleQueries& queries_;
    int module_;
    CombinedQueryKind kind_;
    std::vector<QueryBox> boxes_;
};

}  // namespace rsgz::query
