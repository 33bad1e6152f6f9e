#include "print/PrintRange.h"

#include <QFile>

#include "db/Gbk.h"
#include "print/NumberFormat.h"

namespace rsgz::print {

std::pair<int, int> PrintRange::pages(int current, int pageCount) const
{
    switch (kind) {
    case Kind::All: return {1, pageCount};
    case Kind::Current: return current >= 1 && current <= pageCount ? std::pair{current, current} : std::pair{1, 0};
    case Kind::Range: break;
    }
    const int last = std::min(to, pageCount);
    return {std::max(1, std::min(from, last)), last};
}

std::string printRangePath(const std::string& programDir) { return programDir + "set/printPage"; }

std::optional<PrintRange> readPrintRange(const std::string& programDir)
{
    const std::string path = printRangePath(programDir);
    if (!QFile::exists(QString::fromStdString(path))) return std::nullopt;
    std::vector<std::string> lines;
    try {
        lines = db::readSettingsLines(path);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (lines.empty()) return std::nullopt;
    PrintRange r;
    if (lines[0] == "打印全部") r.kind = PrintRange::Kind::All;
    else if (lines[0] == "打印当前页") r.kind = PrintRange::Kind::Current;
    else if (lines[0] == "选择范围" && lines.size() >= 3) {
        r.kind = PrintRange::Kind::Range;
        // Only a range the window could have chosen; any other is damage, read as no range at all.
        if (!parseWholeNumber(lines[1], &r.from) || !parseWholeNumber(lines[2], &r.to) || r.from < 1 || r.to < r.from)
            return std::nullopt;
    } else
        return std::nullopt;
    return r;
}

void writePrintRange(const std::string& programDir, const PrintRange& range)
{
    switch (range.kind) {
    case PrintRange::Kind::All: return db::writeSettingsLines(printRangePath(programDir), {"打印全部"});
    case PrintRange::Kind::Current: return db::writeSettingsLines(printRangePath(programDir), {"打印当前页"});
    case PrintRange::Kind::Range: break;
    }
    db::writeSettingsLines(printRangePath(programDir), {"选择范围", std::to_string(range.from), std::to_string(range.to)});
}

void removePrintRange(const std::string& programDir) { QFile::remove(QString::fromStdString(printRangePath(programDir))); }

RangeChoice chooseRange(PrintRange::Kind kind, const std::string& fromText, const std::string& toText)
{
    if (kind != PrintRange::Kind::Range) return {PrintRange{kind, 1, 1}, {}};
    int from = 0, to = 0;
    if (!parseWholeNumber(fromText, &from) || !parseWholeNumber(toText, &to) || from < 1 || to < 1)
        return {std::nullopt, "页号应为大于 0 的整数！"};
    if (to < from) return {std::nullopt, "打印范围设定错误！"};
    return {PrintRange{kind, from, to}, {}};
}

}  // namespace rsgz::print
