#pragma once
// The settings window 基本资料设置 for all dictionary keys, without its window: the window shows
// the key tree and jcsz in a grid and calls these on the buttons.
#include <string>
#include <vector>

namespace rsgz::app {
class TDM;
}
namespace rsgz::db {
class DataSet;
}

namespace rsgz::personnel {

// 基本资料设置: a tree of the keys in use and the suggestions of the chosen key, through jcsz (whose
// changes are written when a row is posted).
class BasicSettings {
public:
    explicit BasicSettings(app::TDM& dm);
    db::DataSet& dataSet();

    std::vector<std::string> keys;  // the tree: one node per key, in the order the rows arrive
    int selectedNode = -1;          // -1 while there are no keys
    std::string gridTitle;          // the title of the grid's one column: the chosen key
    bool closed = false;

    // On activation: lists the keys and shows the suggestions of the first.
    void activate();
    void open_jczl_data();
    // Shows the suggestions of one key; it becomes the preset of new rows.
    void clickNode(int node);

    void add();     // 增加: a new row for the chosen key; nothing while no key is chosen
    void remove();  // 删除: with rows, "删除当前设置数据吗?" and 是 deletes the current row
    void save();    // 保存: posts a pending row and re-reads
    void close() { closed = true; }

private:
    app::TDM& dm_;
};

}  // namespace rsgz::personnel
