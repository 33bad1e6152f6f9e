#pragma once
#include <optional>
#include <string>

namespace rsgz::app {
class TDM;
}

namespace rsgz::query {

// What a module page remembers between runs: its row of 排序表 (sort column, direction, width of
// the query tree) and the quick-search column file set/<module>searchFieldName.dat. Written only
// when the user changes something, never when the page fills its boxes.
class SortSettings {
public:
    explicit SortSettings(app::TDM& dm) : dm_(dm) {}

    static constexpr int kDefaultWidth = 120;
    struct Row {
        std::string field;
        std::string order;  // 升序 or 降序
        int width = kDefaultWidth;
    };

    // The module's row, made (width 120, no sort) when the module has none yet.
    Row open(int module);
    // The stored row, when there is exactly one.
    std::optional<Row> read(int module);
    // Stores the sort choice in the module's row; false (nothing stored) when it has none.
    bool saveSort(int module, const std::string& field, const std::string& order);
    bool saveWidth(int module, int width);

    // The quick-search column last chosen, when the file holds exactly one line.
    std::optional<std::string> searchField(int module) const;
    void saveSearchField(int module, const std::string& name) const;

private:
    std::string searchFieldPath(int module) const;
    bool openRow(int module);  // pxb on the module's rows; true when there is exactly one

    app::TDM& dm_;
};

}  // namespace rsgz::query
