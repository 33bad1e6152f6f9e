// Workbooks in the zipped XML format: the workbook part lists the sheets, its relationships say
// which part holds each, the shared strings hold most texts, and the cell styles say which numbers
// are dates. Only what the import needs is read: values, not formulas or formats.
#include <QXmlStreamReader>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <set>

#include "exchange/SourceFile.h"
#include "exchange/ZipArchive.h"

namespace rsgz::exchange {

namespace {

using Xml = QXmlStreamReader;

constexpr int kMaxRows = 1048576;     // the longest sheet the format allows
constexpr int kMaxColumns = 16384;    // and the widest
constexpr int kMaxIndex = 16777216;   // styles, formats, shared strings: far beyond any real workbook

// A number in the file that does not read as one or lies outside what the format allows; the
// sheet or workbook reading it reports the file damaged.
struct BadNumber {
    std::string what;
};

// A whole number written in the file, checked: digits only, within [low, high].
int number(const std::string& text, int low, int high, const char* what)
{
    int v = 0;
    const char* end = text.data() + text.size();
    const auto r = std::from_chars(text.data(), end, v);
    if (text.empty() || r.ec != std::errc() || r.ptr != end || v < low || v > high)
        throw BadNumber{std::string(what) + "“" + text.substr(0, 40) + "”不对"};
    return v;
}

std::string attr(const Xml& x, const char* name) { return x.attributes().value(QLatin1String(name)).toString().toStdString(); }

// The relationship attribute r:id, whatever prefix the file gives its namespace.
std::string relId(const Xml& x)
{
    for (const auto& a : x.attributes())
        if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty()) return a.value().toString().toStdString();
    return {};
}

// Relationship targets are relative to the folder of the part that names them, or absolute.
std::string resolve(const std::string& folder, const std::string& target)
{
    if (!target.empty() && target[0] == '/') return target.substr(1);
    return folder + target;
}

std::map<std::string, std::string> relationships(const ZipArchive& zip, const std::string& relsPart, const std::string& folder)
{
    std::map<std::string, std::string> targets;
    if (!zip.has(relsPart)) return targets;
    Xml x(zip.read(relsPart));
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("Relationship"))
            targets[attr(x, "Id")] = resolve(folder, attr(x, "Target"));
    }
    return targets;
}

// Number formats that show a date or a time: the built-in ones, and codes that use a date or time
// letter outside quoted text, escapes and [colour] or [locale] brackets.
bool isDateFormatCode(const std::string& code)
{
    bool quoted = false, bracket = false;
    for (size_t i = 0; i < code.size(); ++i) {
        const char c = code[i];
        if (quoted) { quoted = c != '"'; continue; }
        if (bracket) { bracket = c != ']'; continue; }
        if (c == '"') quoted = true;
        else if (c == '[') bracket = true;
        else if (c == '\\' || c == '_' || c == '*') ++i;
        else if (c != '\0' && std::strchr("dmyhsDMYHS", c)) return true;
    }
    return false;
}

bool isBuiltInDateFormat(int id)
{
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) || (id >= 50 && id <= 58);
}

// For each cell style index: whether its numbers are dates.
std::vector<bool> dateStyles(const ZipArchive& zip, const std::string& part)
{
    std::vector<bool> styles;
    if (part.empty() || !zip.has(part)) return styles;
    std::set<int> customDates;
    Xml x(zip.read(part));
    bool inCellXfs = false;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isEndElement() && x.name() == QLatin1String("cellXfs")) inCellXfs = false;
        if (!x.isStartElement()) continue;
        if (x.name() == QLatin1String("numFmt") && isDateFormatCode(attr(x, "formatCode")))
            customDates.insert(number(attr(x, "numFmtId"), 0, kMaxIndex, "数字格式号"));
        else if (x.name() == QLatin1String("cellXfs")) inCellXfs = true;
        else if (inCellXfs && x.name() == QLatin1String("xf")) {
            const std::string idText = attr(x, "numFmtId");
            const int id = idText.empty() ? 0 : number(idText, 0, kMaxIndex, "数字格式号");
            styles.push_back(isBuiltInDateFormat(id) || customDates.count(id));
        }
    }
    return styles;
}

// The text of an <si> or <is>: its <t> runs, without the phonetic guides (<rPh>) of East Asian text.
std::string richText(Xml& x, const QLatin1String& end)
{
    std::string text;
    int phonetic = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            if (x.name() == QLatin1String("rPh")) ++phonetic;
            else if (x.name() == QLatin1String("t") && phonetic == 0) text += x.readElementText().toStdString();
        } else if (x.isEndElement()) {
            if (x.name() == QLatin1String("rPh")) --phonetic;
            else if (x.name() == end) break;
        }
    }
    return text;
}

std::vector<std::string> sharedStrings(const ZipArchive& zip, const std::string& part)
{
    std::vector<std::string> strings;
    if (part.empty() || !zip.has(part)) return strings;
    Xml x(zip.read(part));
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("si")) strings.push_back(richText(x, QLatin1String("si")));
    }
    return strings;
}

// "BC12" -> column 54 (0-based), row 12. False for anything else.
bool cellReference(const std::string& ref, int* col, int* row)
{
    size_t i = 0;
    int c = 0;
    for (; i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z' && i < 3; ++i) c = c * 26 + (ref[i] - 'A' + 1);
    if (i == 0 || i == ref.size()) return false;
    int r = 0;
    const auto res = std::from_chars(ref.data() + i, ref.data() + ref.size(), r);
    if (res.ec != std::errc() || res.ptr != ref.data() + ref.size() || r < 1 || r > kMaxRows) return false;
    *col = c - 1;
    *row = r;
    return true;
}

db::Value numberCell(const std::string& text, bool date)
{
    double d = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), d);
    if (r.ec != std::errc() || !std::isfinite(d)) return db::Value(text);
    if (date) {
        const std::string s = serialDateText(d);
        if (!s.empty()) return db::Value(s);
    }
    if (d == std::floor(d) && std::fabs(d) < 9007199254740992.0) return db::Value(static_cast<int64_t>(d));
    return db::Value(d);
}

struct SheetRow {
    int number = 0;
    std::vector<db::Value> cells;
};

class XlsxFile : public SourceFile {
public:
    explicit XlsxFile(const std::string& path) : zip_(path), path_(path)
    {
        try {
            readWorkbook();
        } catch (const BadNumber& bad) {
            throw SourceError("Excel 文件“" + path_ + "”已损坏：" + bad.what + "。");
        }
    }

    std::vector<std::string> tables() override
    {
        std::vector<std::string> names;
        for (const auto& s : sheets_) names.push_back(s.first);
        return names;
    }

    SourceTable read(const std::string& table) override
    {
        for (const auto& [name, part] : sheets_) {
            if (name != table) continue;
            try {
                return readSheet(part);
            } catch (const BadNumber& bad) {
                throw SourceError("Excel 文件“" + path_ + "”已损坏（" + part + "）：" + bad.what + "。");
            }
        }
        throw SourceError("工作簿里没有工作表“" + table + "”。");
    }

private:
    void readWorkbook()
    {
        std::string workbook = "xl/workbook.xml";
        for (const auto& [id, target] : relationships(zip_, "_rels/.rels", ""))
            if (target.size() >= 12 && target.substr(target.size() - 12) == "workbook.xml") workbook = target;
        if (!zip_.has(workbook)) throw SourceError("不能读取 Excel 文件“" + path_ + "”：不是 .xlsx 格式的工作簿。");
        const std::string folder = workbook.substr(0, workbook.rfind('/') + 1);
        const std::string rels = folder + "_rels/" + workbook.substr(folder.size()) + ".rels";
        const auto targets = relationships(zip_, rels, folder);
        std::string stylesPart, stringsPart;
        for (const auto& [id, target] : targets) {
            if (target.find("styles.xml") != std::string::npos) stylesPart = target;
            if (target.find("sharedStrings.xml") != std::string::npos) stringsPart = target;
        }
        Xml x(zip_.read(workbook));
        while (!x.atEnd()) {
            x.readNext();
            if (!x.isStartElement() || x.name() != QLatin1String("sheet")) continue;
            const auto it = targets.find(relId(x));
            if (it != targets.end()) sheets_.emplace_back(attr(x, "name"), it->second);
        }
        if (x.hasError()) throw SourceError("Excel 文件“" + path_ + "”已损坏（" + workbook + "）。");
        dateStyles_ = dateStyles(zip_, stylesPart);
        strings_ = sharedStrings(zip_, stringsPart);
    }

    db::Value cellValue(const std::string& type, const std::string& v, int style) const
    {
        if (type == "s") {
            const auto i = static_cast<size_t>(number(v, 0, kMaxIndex, "共享文本号"));
            if (i >= strings_.size()) throw BadNumber{"共享文本号“" + v + "”超出了共享文本的数目"};
            return db::Value(strings_[i]);
        }
        if (type == "str" || type == "d") return v.empty() ? db::Value() : db::Value(v);
        if (type == "b") return db::Value(v == "1" ? "是" : "否");
        if (type == "e" || v.empty()) return {};
        const bool date = style >= 0 && static_cast<size_t>(style) < dateStyles_.size() && dateStyles_[static_cast<size_t>(style)];
        return numberCell(v, date);
    }

    // One <c> element, the reader on its start tag.
    void readCell(Xml& x, SheetRow& row, int* nextCol) const
    {
        int col = *nextCol, r = 0;
        cellReference(attr(x, "r"), &col, &r);
        const std::string type = attr(x, "t");
        const int style = x.attributes().hasAttribute(QLatin1String("s")) ? number(attr(x, "s"), 0, kMaxIndex, "单元格样式号") : -1;
        std::string v;
        db::Value value;
        bool inline_ = false;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == QLatin1String("v")) v = x.readElementText().toStdString();
            else if (x.isStartElement() && x.name() == QLatin1String("is")) {
                value = db::Value(richText(x, QLatin1String("is")));
                inline_ = true;
            } else if (x.isEndElement() && x.name() == QLatin1String("c")) break;
        }
        if (!inline_) value = cellValue(type, v, style);
        *nextCol = col + 1;
        // Empty cells that only carry a style are not kept: a styled cell far to the right must
        // not widen every row.
        if (value.isNull() || col < 0 || col >= kMaxColumns) return;
        if (static_cast<size_t>(col) >= row.cells.size()) row.cells.resize(static_cast<size_t>(col) + 1);
        row.cells[static_cast<size_t>(col)] = std::move(value);
    }

    SourceTable readSheet(const std::string& part) const
    {
        Xml x(zip_.read(part));
        std::vector<SheetRow> rows;
        int nextRow = 1;
        while (!x.atEnd()) {
            x.readNext();
            if (!x.isStartElement() || x.name() != QLatin1String("row")) continue;
            SheetRow row;
            const std::string r = attr(x, "r");
            row.number = r.empty() ? nextRow : number(r, 1, kMaxRows, "行号");
            if (row.number > kMaxRows) throw BadNumber{"行数超过了 " + std::to_string(kMaxRows) + " 行"};
            nextRow = row.number + 1;
            int nextCol = 0;
            while (!x.atEnd()) {
                x.readNext();
                if (x.isStartElement() && x.name() == QLatin1String("c")) readCell(x, row, &nextCol);
                else if (x.isEndElement() && x.name() == QLatin1String("row")) break;
            }
            bool blank = true;
            for (const auto& c : row.cells) blank = blank && c.isNull();
            if (!blank) rows.push_back(std::move(row));
        }
        if (x.hasError()) throw SourceError("Excel 文件“" + path_ + "”已损坏（" + part + "）。");
        return toTable(std::move(rows));
    }

    static SourceTable toTable(std::vector<SheetRow> rows)
    {
        SourceTable t;
        if (rows.empty()) return t;
        size_t width = 0;
        for (const auto& r : rows) width = std::max(width, r.cells.size());
        for (size_t c = 0; c < width; ++c)
            t.columns.push_back(c < rows[0].cells.size() ? cellText(rows[0].cells[c]) : std::string());
        t.rows.reserve(rows.size() - 1);
        for (size_t i = 1; i < rows.size(); ++i) {
            t.rows.push_back(std::move(rows[i].cells));
            t.lines.push_back(rows[i].number);
        }
        tidyTable(t);
        return t;
    }

    ZipArchive zip_;
    std::string path_;
    std::vector<std::pair<std::string, std::string>> sheets_;  // name, part
    std::vector<bool> dateStyles_;
    std::vector<std::string> strings_;
};

}  // namespace

std::unique_ptr<SourceFile> openXlsxFile(const std::string& path) { return std::make_unique<XlsxFile>(path); }

}  // namespace rsgz::exchange
