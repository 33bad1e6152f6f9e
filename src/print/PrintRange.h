#pragma once
#include <optional>
#include <string>

namespace rsgz::print {

// What the print range window 打印表格 hands to the preview, through set/printPage (GB18030, CR LF):
// "打印全部"; "打印当前页"; or "选择范围" with the first and the last page.
struct PrintRange {
    enum class Kind { All, Current, Range };
    Kind kind = Kind::Current;
    int from = 1, to = 1;

    // The pages to print, 1-based and inclusive, of a job of pageCount pages; from > to when
    // there is nothing to print. A range's end is lowered to the page count and its start to its end.
    std::pair<int, int> pages(int current, int pageCount) const;
};

std::string printRangePath(const std::string& programDir);

// Reads the file; empty when it does not exist or does not say a range.
std::optional<PrintRange> readPrintRange(const std::string& programDir);
void writePrintRange(const std::string& programDir, const PrintRange& range);
void removePrintRange(const std::string& programDir);

// 确认 of the window: the range from its boxes, or the message that refuses it.
struct RangeChoice {
    std::optional<PrintRange> range;
    std::string message;
};
RangeChoice chooseRange(PrintRange::Kind kind, const std::string& fromText, const std::string& toText);

}  // namespace rsgz::print
