#pragma once
#include <string>
#include <vector>

#include "exchange/SourceFile.h"

namespace rsgz::test {

// Files of tests/data, and the Access files of the shared fixtures folder beside the project.
inline std::string dataFile(const std::string& name) { return std::string(RSGZ_SOURCE_DIR) + "/tests/data/" + name; }
inline std::string sharedFixture(const std::string& name) { return std::string(RSGZ_SOURCE_DIR) + "/../shared/fixtures/" + name; }

// A table as the user would read it: every cell's text ("" for an empty cell).
inline std::vector<std::vector<std::string>> cellTexts(const exchange::SourceTable& t)
{
    std::vector<std::vector<std::string>> rows;
    for (const auto& row : t.rows) {
        rows.emplace_back();
        for (const auto& v : row) rows.back().push_back(exchange::cellText(v));
    }
    return rows;
}

// A source file made in the test: one table, "名单".
class TableSource : public exchange::SourceFile {
public:
    explicit TableSource(exchange::SourceTable t) : table_(std::move(t)) {}
    std::vector<std::string> tables() override { return {"名单"}; }
    exchange::SourceTable read(const std::string&) override
    {
        exchange::SourceTable t = table_;
        exchange::tidyTable(t);
        return t;
    }

private:
    exchange::SourceTable table_;
};

}  // namespace rsgz::test
