#pragma once
// The dictionary editor 字典管理 for one key, without its window: the window shows zidian in a
// grid and calls these on the buttons.

namespace rsgz::app {
class TDM;
}
namespace rsgz::db {
class DataSet;
}

namespace rsgz::personnel {

// 删除 on a dictionary grid: a row being added is dropped without a question, an empty or closed
// list does nothing, any other row goes through the dataset's delete (and the question its rule asks).
void deleteCurrentRow(db::DataSet& ds);

// 字典管理: edits the shared query object zidian, which the caller has opened on one key (see
// pickDictionary). zidian holds its changes until 保存 writes them all at once; a new row's
// 字段名称 is preset to CurrentDictionaryKey by the data module's rule.
class DictionaryEditor {
public:
    explicit DictionaryEditor(app::TDM& dm);
    db::DataSet& dataSet();

    bool closed = false;

    void add();     // 添加: a new row at the end, its key preset
    // 删除: a row being added is dropped; otherwise, with rows, "删除当前字典数据吗?" and 是
    // removes the current row (pending until 保存).
    void remove();
    void save();    // 保存: posts, writes every pending change in one transaction, re-reads
    void close();   // 返回: pending changes stay unsaved; the caller's next list fill drops them

private:
    app::TDM& dm_;
};

}  // namespace rsgz::personnel
