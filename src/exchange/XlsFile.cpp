// Workbooks in the older binary format, read through freexl. freexl hands dates already as text
// (a cell with a date style) and converts the workbook's code page to UTF-8.
#include <freexl.h>

#include "exchange/SourceFile.h"

namespace rsgz::exchange {

namespace {

db::Value cellValue(const FreeXL_CellValue& c)
{
    switch (c.type) {
    case FREEXL_CELL_INT: return db::Value(static_cast<int64_t>(c.value.int_value));
    case FREEXL_CELL_DOUBLE: return db::Value(c.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_TIME: return c.value.text_value ? db::Value(c.value.text_value) : db::Value();
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME: {
        // "yyyy-mm-dd hh:mm:ss" becomes the program's form, which leaves out a midnight time.
        if (!c.value.text_value) return {};
        std::string s = c.value.text_value;
        if (s.size() > 10 && s.substr(10) == " 00:00:00") s.resize(10);
        return db::Value(std::move(s));
    }
    default: return {};
    }
}

class XlsFile : public SourceFile {
public:
    explicit XlsFile(std::string path) : path_(std::move(path))
    {
        if (freexl_open(path_.c_str(), &handle_) != FREEXL_OK) {
            freexl_close(handle_);
            handle_ = nullptr;
            throw SourceError("不能读取 Excel 文件“" + path_ + "”：文件已损坏，或不是 .xls 格式的工作簿。");
        }
    }
    ~XlsFile() override { freexl_close(handle_); }

    std::vector<std::string> tables() override
    {
        unsigned int count = 0;
        freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &count);
        std::vector<std::string> names;
        for (unsigned int i = 0; i < count; ++i) {
            const char* name = nullptr;
            if (freexl_get_worksheet_name(handle_, static_cast<unsigned short>(i), &name) == FREEXL_OK && name)
                names.emplace_back(name);
        }
        return names;
    }

    SourceTable read(const std::string& table) override
    {
        select(table);
        unsigned int rows = 0;
        unsigned short cols = 0;
        if (freexl_worksheet_dimensions(handle_, &rows, &cols) != FREEXL_OK)
            throw SourceError("不能读取工作表“" + table + "”。");
        SourceTable t;
        if (rows == 0) return t;
        for (unsigned short c = 0; c < cols; ++c) t.columns.push_back(cellValue(cell(0, c)).toString());
        t.rows.reserve(rows - 1);
        for (unsigned int r = 1; r < rows; ++r) {
            std::vector<db::Value> row;
            row.reserve(cols);
            bool blank = true;
            for (unsigned short c = 0; c < cols; ++c) {
                row.push_back(cellValue(cell(r, c)));
                blank = blank && row.back().isNull();
            }
            if (blank) continue;  // a row only formatted, or left empty between rows
            t.rows.push_back(std::move(row));
            t.lines.push_back(static_cast<int>(r) + 1);
        }
        tidyTable(t);
        return t;
    }

private:
    void select(const std::string& table)
    {
        const std::vector<std::string> names = tables();
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == table && freexl_select_active_worksheet(handle_, static_cast<unsigned short>(i)) == FREEXL_OK)
                return;
        throw SourceError("工作簿里没有工作表“" + table + "”。");
    }

    FreeXL_CellValue cell(unsigned int r, unsigned short c)
    {
        FreeXL_CellValue v{};
        if (freexl_get_cell_value(handle_, r, c, &v) != FREEXL_OK) v.type = FREEXL_CELL_NULL;
        return v;
    }

    std::string path_;
    const void* handle_ = nullptr;
};

}  // namespace

std::unique_ptr<SourceFile> openXlsFile(const std::string& path) { return std::make_unique<XlsFile>(path); }

}  // namespace rsgz::exchange
