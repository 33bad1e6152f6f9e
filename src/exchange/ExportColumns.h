#pragma once
#include <string>
#include <vector>

namespace rsgz::app {
class TDM;
}

namespace rsgz::exchange {

// The column chooser 选择导出字段 without its window: the columns offered on the left, the chosen
// ones on the right, in the order they were added, each at most once.
class ExportColumns {
public:
    explicit ExportColumns(std::vector<std::string> offered) : offered_(std::move(offered)) {}
    // The personnel list's columns without the row number and the row key.
    static std::vector<std::string> employeeColumns(app::TDM& dm);

    const std::vector<std::string>& offered() const { return offered_; }
    const std::vector<std::string>& chosen() const { return chosen_; }

    void add(int offeredRow);     // -1: nothing selected, which is told
    void addAll();
    void remove(int chosenRow);   // -1: nothing selected, which is told
    void removeAll() { chosen_.clear(); }

private:
    std::vector<std::string> offered_;
    std::vector<std::string> chosen_;
};

}  // namespace rsgz::exchange
