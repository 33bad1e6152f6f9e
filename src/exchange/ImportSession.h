#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "exchange/SourceFile.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::exchange {

// What the import windows (导入ACCESS数据文件, 导入Excel数据文件) do, without the window: the numbered
// standard items, the source's tables, the table chosen with its number boxes, and the import into
// the employee list rszl. Notices go through the interaction interface.
class ImportSession {
public:
    enum class Kind { Access, Excel };
    ImportSession(app::TDM& dm, std::unique_ptr<SourceFile> file, Kind kind);
    ~ImportSession();

    Kind kind() const { return kind_; }
    // The columns of rszl in its order, numbered from 1 in the window; the Excel window leaves out 序号.
    const std::vector<std::string>& standardItems() const { return items_; }
    std::vector<std::string> tables() const { return file_->tables(); }

    // Reads the table and presets its number boxes: an item's number where the source column has
    // the item's name, "0" elsewhere. Throws SourceError; the previous table stays chosen then.
    void chooseTable(const std::string& name);
    bool hasTable() const { return hasTable_; }
    const std::string& tableName() const { return tableName_; }
    const SourceTable& table() const { return table_; }

    const std::vector<std::string>& boxes() const { return boxes_; }
    void setBox(size_t column, std::string text);

    // 导入数据: checks everything, then writes all rows in one transaction through rszl (its record
    // rules apply) or none. Returns the number of rows imported. progress hears the status text.
    int importRows();
    std::function<void(const std::string&)> progress;

private:
    void premap();
    void tellProgress(int count);

    app::TDM& dm_;
    std::unique_ptr<SourceFile> file_;
    Kind kind_;
    std::vector<std::string> items_;
    bool hasTable_ = false;
    std::string tableName_;
    SourceTable table_;
    std::vector<std::string> boxes_;
};

// 导入ACCESS数据 / 导入EXCEL数据 up to the window: only on the personnel page, asks for the file and
// opens it. A file that cannot be opened is told and gives nullptr, as does a cancelled dialog.
std::unique_ptr<SourceFile> chooseImportFile(app::TDM& dm, ImportSession::Kind kind);

}  // namespace rsgz::exchange
