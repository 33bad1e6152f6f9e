#include "exchange/ExcelExport.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/DataSet.h"
#include "exchange/SourceFile.h"

namespace rsgz::exchange {

namespace {

// Closes the workbook when the writing stops half way; lxw_workbook has no other way to let go.
struct Workbook {
    lxw_workbook* wb = nullptr;
    ~Workbook()
    {
        if (wb) workbook_close(wb);
    }
};

void check(lxw_error e)
{
    if (e != LXW_NO_ERROR) throw ExportError(lxw_strerror(e));
}

void writeRow(lxw_worksheet* sheet, int row, const std::vector<std::string>& cells)
{
    for (size_t c = 0; c < cells.size(); ++c)
        if (!cells[c].empty())
            check(worksheet_write_string(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(c), cells[c].c_str(), nullptr));
}

// How wide a text shows: a Chinese character takes two places, a Latin one one.
double displayWidth(const std::string& text)
{
    double w = 0;
    for (unsigned char c : text) {
        if (c < 0x80) w += 1;
        else if (c >= 0xE0) w += 2;  // the lead byte of a three-byte (CJK) character
        else if (c >= 0xC0) w += 1;
    }
    return w;
}

// Column widths from the heading and the first rows, so that dates and names show whole when the
// workbook is opened. They must be set before the first row in the writer's constant-memory mode.
void setWidths(lxw_worksheet* sheet, const std::vector<std::string>& heading, int rowCount,
               const std::function<void(int, std::vector<std::string>&)>& cellsOf)
{
    std::vector<double> widths;
    for (const std::string& h : heading) widths.push_back(displayWidth(h));
    std::vector<std::string> cells;
    for (int r = 0; r < std::min(rowCount, 200); ++r) {
        cells.assign(heading.size(), std::string());
        cellsOf(r, cells);
        for (size_t c = 0; c < cells.size(); ++c) widths[c] = std::max(widths[c], displayWidth(cells[c]));
    }
    for (size_t c = 0; c < widths.size(); ++c)
        check(worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                   std::clamp(widths[c] + 2, 8.0, 60.0), nullptr));
}

void fill(const std::string& file, const std::vector<std::string>& heading, int rowCount,
          const std::function<void(int, std::vector<std::string>&)>& cellsOf, const std::function<void(int)>& progress)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    Workbook book;
    book.wb = workbook_new_opt(file.c_str(), &options);
    if (!book.wb) throw ExportError("不能创建文件");
    lxw_worksheet* sheet = workbook_add_worksheet(book.wb, nullptr);
    if (!sheet) throw ExportError("不能创建工作表");
    setWidths(sheet, heading, rowCount, cellsOf);
    writeRow(sheet, 0, heading);
    std::vector<std::string> cells;
    for (int r = 0; r < rowCount; ++r) {
        cells.assign(heading.size(), std::string());
        cellsOf(r, cells);
        writeRow(sheet, r + 1, cells);
        if (progress && (r + 1) % 1000 == 0) progress(r + 1);
    }
    lxw_workbook* wb = book.wb;
    book.wb = nullptr;
    check(workbook_close(wb));
}

}  // namespace

void writeTextWorkbook(const std::string& path, const std::vector<std::string>& heading, int rowCount,
                       const std::function<void(int, std::vector<std::string>&)>& cellsOf,
                       const std::function<void(int)>& progress)
{
    if (heading.size() > LXW_COL_MAX || static_cast<size_t>(rowCount) >= LXW_ROW_MAX)
        throw ExportError("数据超出了一张工作表能容纳的行数或列数");
    const QFileInfo target(QString::fromStdString(path));
    // The temporary name only reserves a place in the target's folder; the writer replaces it.
    QTemporaryFile temp(target.absoluteDir().filePath(target.fileName() + ".XXXXXX"));
    if (!temp.open()) throw ExportError(temp.errorString().toStdString());
    const std::string tempPath = QFile::encodeName(temp.fileName()).toStdString();
    temp.close();
    fill(tempPath, heading, rowCount, cellsOf, progress);
    if (std::rename(tempPath.c_str(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
        throw ExportError("不能以这个名字保存文件");
    temp.setAutoRemove(false);
}

void exportDataSet(const db::DataSet& ds, const std::vector<std::string>& columns, const std::string& path,
                   const std::function<void(int)>& progress)
{
    std::vector<int> index;
    for (const std::string& c : columns) index.push_back(ds.fieldIndex(c));
    writeTextWorkbook(path, columns, ds.recordCount(), [&](int row, std::vector<std::string>& cells) {
        for (size_t c = 0; c < index.size(); ++c)
            if (index[c] >= 0) cells[c] = cellText(ds.rowValue(row, index[c]));
    }, progress);
}

void exportEmployees(app::TDM& dm, const std::vector<std::string>& columns, const std::function<void(int)>& progress)
{
    if (columns.empty() || dm.CurrentModule != 1 || !dm.rszl.active()) return;
    std::string path = app::interaction().saveFileName("请输入新生成的Excel文件名称", "Microsoft Excel 文件 (*.xlsx)");
    if (path.empty()) return;
    if (!QString::fromStdString(path).endsWith(".xlsx", Qt::CaseInsensitive)) path += ".xlsx";
    try {
        exportDataSet(dm.rszl, columns, path, progress);
    } catch (const std::exception& e) {
        app::interaction().showMessage(std::string("不能正确操作Excel文件。可能是该文件已被其他程序打开,或系统错误。\n") + e.what());
    }
}

}  // namespace rsgz::exchange
