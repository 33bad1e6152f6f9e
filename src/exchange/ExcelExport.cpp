#include "exchange/ExcelExport.h"
#include "app/Module.h"

#include <xlsxwriter.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <charconv>
#include <optional>
#include <cerrno>
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

// The failure of a write as the user reads it; errno tells a full disk from the rest.
[[noreturn]] void failWriting(const std::string& shownName, int err, const std::string& what)
{
    if (err == ENOSPC || err == EDQUOT) throw ExportError("磁盘空间不足，不能写入文件“" + shownName + "”。", true);
    if (err == EACCES || err == EPERM || err == EROFS) throw ExportError("没有写入文件“" + shownName + "”的权限。");
    throw ExportError("不能写入文件“" + shownName + "”：" + what + "。");
}

// The writer's errors in words of our own, not its English sentences. Those of files and of the
// zip packing come from the system, whose errno says why.
void check(lxw_error e, const std::string& shownName)
{
    if (e == LXW_NO_ERROR) return;
    const int err = errno;
    switch (e) {
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
        throw ExportError("有一个值超过了工作表单元格能容纳的 32767 个字符，不能写入文件“" + shownName + "”。");
    case LXW_ERROR_CREATING_XLSX_FILE:
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE: failWriting(shownName, err, "写入时出错（" + std::to_string(static_cast<int>(e)) + "）");
    default: throw ExportError("不能写入文件“" + shownName + "”：工作簿出错（" + std::to_string(static_cast<int>(e)) + "）。");
    }
}

void writeRow(lxw_worksheet* sheet, int row, const std::vector<std::string>& cells, const std::string& shownName)
{
    for (size_t c = 0; c < cells.size(); ++c)
        if (!cells[c].empty())
            check(worksheet_write_string(sheet, static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(c), cells[c].c_str(), nullptr),
                  shownName);
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
               const std::function<void(int, std::vector<std::string>&)>& cellsOf, const std::string& shownName)
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
                                   std::clamp(widths[c] + 2, 8.0, 60.0), nullptr),
              shownName);
}

// A plain decimal as the number cells take it; nothing for any other text (a number column's
// blank, a word, an exponent, a locale's comma).
std::optional<double> plainNumber(const std::string& text)
{
    if (text.empty() || text.size() > 40) return std::nullopt;
    size_t i = text[0] == '-' ? 1 : 0, digits = 0, dots = 0;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9') ++digits;
        else if (text[i] == '.' && ++dots == 1) continue;
        else return std::nullopt;
    }
    if (digits == 0) return std::nullopt;
    double v = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), v);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
    return v;
}

void writeCells(lxw_worksheet* sheet, int row, const std::vector<std::string>& cells, const std::vector<bool>& numeric,
                lxw_format* amount, const std::string& shownName)
{
    for (size_t c = 0; c < cells.size(); ++c) {
        if (cells[c].empty()) continue;
        const auto r = static_cast<lxw_row_t>(row);
        const auto col = static_cast<lxw_col_t>(c);
        const std::optional<double> n = c < numeric.size() && numeric[c] ? plainNumber(cells[c]) : std::nullopt;
        if (n) check(worksheet_write_number(sheet, r, col, *n, amount), shownName);
        else check(worksheet_write_string(sheet, r, col, cells[c].c_str(), nullptr), shownName);
    }
}

void writeSheets(const std::string& file, const std::string& shownName, const std::vector<SheetContent>& sheets,
                 const std::function<void(int)>& progress)
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    Workbook book;
    errno = 0;
    book.wb = workbook_new_opt(file.c_str(), &options);
    if (!book.wb) failWriting(shownName, errno, "不能创建工作簿");
    lxw_format* amount = workbook_add_format(book.wb);
    if (amount) format_set_num_format(amount, "0.00");
    int written = 0;
    for (const SheetContent& content : sheets) {
        lxw_worksheet* sheet = workbook_add_worksheet(book.wb, content.name.empty() ? nullptr : content.name.c_str());
        if (!sheet) throw ExportError("不能写入文件“" + shownName + "”：不能创建工作表。");
        setWidths(sheet, content.heading, content.rowCount, content.cellsOf, shownName);
        writeRow(sheet, 0, content.heading, shownName);
        std::vector<std::string> cells;
        for (int r = 0; r < content.rowCount; ++r) {
            cells.assign(content.heading.size(), std::string());
            content.cellsOf(r, cells);
            writeCells(sheet, r + 1, cells, content.numeric, amount, shownName);
            if (progress && ++written % 1000 == 0) progress(written);
        }
    }
    lxw_workbook* wb = book.wb;
    book.wb = nullptr;
    errno = 0;
    check(workbook_close(wb), shownName);
}

// The mode a new file gets: what the umask leaves of rw-rw-rw-. Read from the process's status,
// which does not change the umask the way asking umask() does.
mode_t newFileMode()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const int mask = line.mid(6).trimmed().toInt(&ok, 8);
                if (ok && mask >= 0 && mask <= 0777) return static_cast<mode_t>(0666 & ~mask);
            }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return 0666 & ~mask;
}

// Export temporaries: the target's name, a dot, and the six letters or digits of the temporary.
bool isExportTemporary(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^.+\\.xlsx\\.[A-Za-z0-9]{6}$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern.match(name).hasMatch();
}

// While a workbook is being written its temporary is locked, so that another export to the folder
// (another copy of the program) leaves it alone.
bool lock(int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; }

}  // namespace

void writeWorkbookFile(const std::string& file, const std::string& shownName, const std::vector<std::string>& heading,
                       int rowCount, const std::function<void(int, std::vector<std::string>&)>& cellsOf,
                       const std::function<void(int)>& progress)
{
    writeSheets(file, shownName, {SheetContent{{}, heading, {}, rowCount, cellsOf}}, progress);
}

int removeStaleTemporaries(const std::string& folder)
{
    const QDir dir(QString::fromStdString(folder));
    int removed = 0;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::NoSymLinks)) {
        if (!isExportTemporary(name)) continue;
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && lock(fd) && ::unlink(path.constData()) == 0) ++removed;
        ::close(fd);
    }
    return removed;
}


void writeTextWorkbook(const std::string& path, const std::vector<std::string>& heading, int rowCount,
                       const std::function<void(int, std::vector<std::string>&)>& cellsOf,
                       const std::function<void(int)>& progress)
{
    writeWorkbook(path, {SheetContent{{}, heading, {}, rowCount, cellsOf}}, progress);
}

void writeWorkbook(const std::string& path, const std::vector<SheetContent>& sheets, const std::function<void(int)>& progress)
{
    for (const SheetContent& sheet : sheets)
        if (sheet.heading.size() > LXW_COL_MAX || sheet.rowCount < 0 || static_cast<size_t>(sheet.rowCount) >= LXW_ROW_MAX)
            throw ExportError("数据超出了一张工作表能容纳的行数或列数");
    const QFileInfo target(QString::fromStdString(path));
    if (!target.absoluteDir().exists()) throw ExportError("找不到保存文件“" + path + "”的文件夹。");
    removeStaleTemporaries(target.absolutePath().toStdString());
    // The temporary reserves a place in the target's folder; the writer opens it again by name and
    // fills the same file, which stays open and locked here until it is renamed.
    QTemporaryFile temp(target.absoluteDir().filePath(target.fileName() + ".XXXXXX"));
    errno = 0;
    if (!temp.open()) failWriting(path, errno, "不能创建临时文件");
    lock(temp.handle());
    const std::string tempPath = QFile::encodeName(temp.fileName()).toStdString();
    writeSheets(tempPath, path, sheets, progress);
    // The temporary was made for this program's eyes only; the workbook is for anyone a new file
    // of the user's would be for.
    if (::fchmod(temp.handle(), newFileMode()) != 0) failWriting(path, errno, "不能设置文件的权限");
    if (std::rename(tempPath.c_str(), QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
        failWriting(path, errno, "不能以这个名字保存文件");
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

void exportEmployees(app::TDM& dm, const std::vector<std::string>& columns, const std::function<void(int)>& progress,
                     const std::function<void()>& finished)
{
    if (columns.empty() || dm.CurrentModule != app::Module::Personnel || !dm.rszl.active()) return;
    std::string path = app::interaction().saveFileName("请输入新生成的Excel文件名称", "Microsoft Excel 文件 (*.xlsx)");
    if (path.empty()) return;
    if (!QString::fromStdString(path).endsWith(".xlsx", Qt::CaseInsensitive)) path += ".xlsx";
    std::string notice;
    try {
        exportDataSet(dm.rszl, columns, path, progress);
        notice = "导出完成：共 " + std::to_string(dm.rszl.recordCount()) + " 条记录，已写入文件“" + path + "”。";
    } catch (const ExportError& e) {
        // A full disk is no matter of another program holding the file: it is said alone.
        notice = e.diskFull() ? e.what() : std::string("不能正确操作Excel文件。可能是该文件已被其他程序打开,或系统错误。\n") + e.what();
    } catch (const std::exception& e) {
        notice = std::string("不能正确操作Excel文件。可能是该文件已被其他程序打开,或系统错误。\n") + e.what();
    }
    if (finished) finished();
    app::interaction().showMessage(notice);
}

}  // namespace rsgz::exchange
