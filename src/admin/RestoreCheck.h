#pragma once
#include <stdexcept>
#include <string>
#include <vector>

namespace rsgz::admin {

// A file that may not become the live database: why, in words for the user, and the engine's
// own text (possibly empty) for a detail line below.
class RestoreRefusal : public std::runtime_error {
public:
    RestoreRefusal(const std::string& reason, std::string detail)
        : std::runtime_error(reason), detail_(std::move(detail)) {}
    const std::string& detail() const { return detail_; }

private:
    std::string detail_;
};

// Throws RestoreRefusal unless the file at path is a sound database whose tables, columns,
// indexes, triggers and views are those the program itself creates. A restored file becomes the
// live database as it is, so whatever else it carries (a trigger granting rights on every salary
// change, a table without its columns) would run or fail inside the program.
void checkRestoreFile(const std::string& path);

// Names joined by "、": all of them up to `shown`, else the first `shown`, "等" and the count.
std::string listedNames(const std::vector<std::string>& names, size_t shown = 5);

}  // namespace rsgz::admin
