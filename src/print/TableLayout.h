#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace rsgz::print {

// The layout of a printed table, kept in set/<name>.tbl as one fixed record of 57 568 bytes
// (little-endian, texts in GB18030 behind a length byte). Lengths are tenths of a millimetre; title
// positions are pixels of the 100 % preview (3.78 per millimetre); font sizes are points.

struct TableFont {
    std::string name = "宋体";
    int size = 9;
    bool operator==(const TableFont&) const = default;
};

struct TableTitle {
    TableFont font{"黑体", 22};
    int x = 150, y = 50;
    std::string text;
    bool operator==(const TableTitle&) const = default;
};

struct TableColumn {
    std::string header;
    TableFont headerFont;
    std::string headerAlign = "居中";
    std::string item;  // the data column this table column shows
    TableFont dataFont;
    std::string dataAlign = "左齐";
    int width = 100;
    std::string format;
    bool sum = false;  // 对应项目合计计算
    bool operator==(const TableColumn&) const = default;
};

struct TableLayout {
    static constexpr int kMaxTitles = 49;
    static constexpr int kMaxColumns = 99;
    static constexpr size_t kRecordSize = 57568;

    std::vector<TableTitle> titles;
    std::string paper = "A4";
    int paperWidth = 2100, paperHeight = 2970;
    int leftMargin = 150, rightMargin = 150, topMargin = 250, bottomMargin = 120;
    std::string pageNumberPosition = "表格下部居中";
    std::string orientation = "纵向";
    bool printPageNumber = true;
    TableFont tableFont;
    bool wrap = false;
    int rowHeight = 80;
    bool pageSubtotal = false;  // 每页打印页小计
    bool runningTotal = false;  // 每页打印总汇总
    bool grandTotal = false;    // 尾页打印总汇总
    bool payStubs = false;      // 每行重复行标题
    std::vector<TableColumn> columns;

    // The bytes the record was read from (or zero for a new layout). Reserved areas, entries beyond
    // the counts and bytes after a text keep what they held, so an unchanged layout is written back
    // byte for byte.
    std::vector<uint8_t> raw = std::vector<uint8_t>(kRecordSize, 0);

    bool landscape() const { return orientation != "纵向"; }
    // The paper as it lies: width and height exchanged in landscape.
    int pageWidth() const { return landscape() ? paperHeight : paperWidth; }
    int pageHeight() const { return landscape() ? paperWidth : paperHeight; }
    int usableLength() const { return pageHeight() - topMargin - bottomMargin; }
    int tableWidth() const;
    // Why a size, position or count lies outside what a sheet of paper can hold (the paper at most
    // A0 either way, margins and column widths within it, titles within an A0 length of its corner, font sizes
    // 0–500, a row height of 10–1000); empty when every one is within. A file that breaks one of
    // them is damaged.
    std::string rangeProblem() const;

    // The default layout with the given grid column titles (at most 99 are taken).
    static TableLayout defaults(const std::vector<std::string>& gridTitles);
    static TableColumn defaultColumn(const std::string& item);
    static TableTitle defaultTitle(const std::string& text);

    // The record's bytes. Throws LayoutFileError when a text is not UTF-8.
    std::vector<uint8_t> toBytes() const;
    // Reads a record; throws LayoutFileError (a Chinese text) when the bytes are shorter than a
    // record or a count or a length exceeds its capacity, or a text is not GB18030.
    static TableLayout fromBytes(const std::vector<uint8_t>& bytes);

    // Throws LayoutFileError when the file cannot be read or is damaged.
    static TableLayout read(const std::string& path);
    // Written to a temporary file and renamed over the old one; throws LayoutFileError.
    void write(const std::string& path) const;
};

class LayoutFileError : public std::runtime_error {
public:
    explicit LayoutFileError(const std::string& message) : std::runtime_error(message) {}
};

// The longest beginning of a text that fits into a field of the given capacity in GB18030 bytes; a
// character is never cut in half.
std::string fitToCapacity(const std::string& text, int capacity);

// Text field capacities of the record.
namespace capacity {
inline constexpr int kFontName = 30, kTitleText = 200, kHeader = 100, kAlign = 30, kItem = 50, kFormat = 50;
inline constexpr int kPaper = 100, kPagePosition = 50, kOrientation = 30;
}  // namespace capacity

}  // namespace rsgz::print
