#pragma once
#include <string>
#include <vector>

namespace rsgz::query {

// A module grid's column layout as the user arranged it: the columns in their order, each with its
// title, width and alignment, kept in set/DBGrid<n>.dat as JSON keyed by column name. Columns the
// list no longer has are dropped when the layout is applied, never turned into a statement.
struct GridColumn {
    enum class Align { Left, Center, Right };
    std::string field;
    std::string title;
    int width = 0;
    Align align = Align::Left;
    bool operator==(const GridColumn&) const = default;
};

struct GridLayout {
    std::vector<GridColumn> columns;

    // The module's layout file, empty for modules whose grid keeps none.
    static std::string path(const std::string& programDir, int module);
    // Throws std::runtime_error with a Chinese text naming the file when it cannot be read or is
    // not a layout.
    static GridLayout read(const std::string& path);
    // Written to a temporary file and renamed over the old one. Throws std::runtime_error.
    void write(const std::string& path) const;
};

}  // namespace rsgz::query
