#pragma once
#include <optional>
#include <string>

#include "db/SqlText.h"
#include "query/ModuleQueries.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::query {

// Sets one column of 员工基本情况 to a new value in many rows with one update: the rows of the
// personnel list's current query, or the whole table, in either case optionally only those whose
// column holds a given old value. No confirmation and no undo; a refused change changes nothing.
class BatchChange {
public:
    struct Request {
        bool useCurrentQuery = true;  // 使用当前查询结果
        std::string field;
        std::string oldValue;
        bool ignoreOld = false;       // 忽略
        std::string newValue;
    };

    BatchChange(app::TDM& dm, ModuleQueries& queries) : dm_(dm), queries_(queries) {}

    // The update's lines, or nothing when the request cannot be run: no such column, a value the
    // column's type does not take, or a current list whose query is not known as data.
    std::optional<db::SqlLines> statement(const Request& r) const;
    // Runs it in one transaction; "修改失败！" and nothing changed when refused or rejected. The
    // personnel list is read again on its query either way. True when the update ran.
    bool run(const Request& r);

private:
    app::TDM& dm_;
    ModuleQueries& queries_;
};

// A typed-in value as a value of the column's type: text as typed, dates as ISO text, numbers in C
// notation, yes/no from 是/否; an empty entry is NULL for every type but text. Nothing when the text
// does not fit the type (or is longer than a text column holds).
std::optional<db::Value> typedValue(const std::string& text, db::FieldType type, int size);

}  // namespace rsgz::query
