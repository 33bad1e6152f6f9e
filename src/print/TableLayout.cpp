#include "print/TableLayout.h"

#include <QFile>
#include <QSaveFile>
#include <QString>
#include <cstring>

#include "db/Gbk.h"
#include "print/PaperLimits.h"

namespace rsgz::print {

namespace {

constexpr size_t kFontSize = 52, kTitleSize = 264, kColumnSize = 388;
constexpr size_t kTitleCountAt = 13200, kPaperAt = 18488, kColumnsAt = 18764, kColumnCountAt = 57564;
constexpr int kTitleSlots = 50, kColumnSlots = 100;

// Reads fields of a record at fixed offsets; every length is checked against its capacity.
class RecordReader {
public:
    explicit RecordReader(const std::vector<uint8_t>& b) : b_(b) {}

    int32_t int32(size_t at) const
    {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | b_[at + static_cast<size_t>(i)];
        return static_cast<int32_t>(v);
    }
    bool flag(size_t at) const { return b_[at] != 0; }
    std::string text(size_t at, int capacity, const char* what) const
    {
        const int len = b_[at];
        if (len > capacity)
            throw LayoutFileError(std::string(what) + "的长度 " + std::to_string(len) + " 超过了容量 " +
                                  std::to_string(capacity));
        try {
            return db::fromGb18030(std::string_view(reinterpret_cast<const char*>(&b_[at + 1]), static_cast<size_t>(len)));
        } catch (const db::EncodingError&) {
            throw LayoutFileError(std::string(what) + "不是有效的文字");
        }
    }
    TableFont font(size_t at, const char* what) const
    {
        return {text(at, capacity::kFontName, what), int32(at + 32)};
    }

private:
    const std::vector<uint8_t>& b_;
};

class RecordWriter {
public:
    explicit RecordWriter(std::vector<uint8_t>& b) : b_(b) {}

    void int32(size_t at, int32_t v)
    {
        const auto u = static_cast<uint32_t>(v);
        for (size_t i = 0; i < 4; ++i) b_[at + i] = static_cast<uint8_t>(u >> (8 * i));
    }
    // A true flag keeps whatever non-zero byte it was read as.
    void flag(size_t at, bool on)
    {
        if (on != (b_[at] != 0)) b_[at] = on ? 1 : 0;
    }
    void text(size_t at, const std::string& t, int capacity)
    {
        std::string bytes;
        try {
            bytes = db::cutGb18030(db::toGb18030(t), static_cast<size_t>(capacity));
        } catch (const db::EncodingError& e) {
            throw LayoutFileError(std::string("打印格式中的文字无法保存：") + e.what());
        }
        b_[at] = static_cast<uint8_t>(bytes.size());
        std::memcpy(&b_[at + 1], bytes.data(), bytes.size());
    }
    void font(size_t at, const TableFont& f)
    {
        text(at, f.name, capacity::kFontName);
        int32(at + 32, f.size);
    }

private:
    std::vector<uint8_t>& b_;
};

TableTitle readTitle(const RecordReader& r, size_t at)
{
    TableTitle t;
    t.font = r.font(at, "标题字体名");
    t.x = r.int32(at + 52);
    t.y = r.int32(at + 56);
    t.text = r.text(at + 60, capacity::kTitleText, "标题文字");
    return t;
}

void writeTitle(RecordWriter& w, size_t at, const TableTitle& t)
{
    w.font(at, t.font);
    w.int32(at + 52, t.x);
    w.int32(at + 56, t.y);
    w.text(at + 60, t.text, capacity::kTitleText);
}

TableColumn readColumn(const RecordReader& r, size_t at)
{
    TableColumn c;
    c.header = r.text(at, capacity::kHeader, "列标题");
    c.headerFont = r.font(at + 104, "列标题字体名");
    c.headerAlign = r.text(at + 156, capacity::kAlign, "列标题对齐方式");
    c.item = r.text(at + 187, capacity::kItem, "项目名称");
    c.dataFont = r.font(at + 240, "数据字体名");
    c.dataAlign = r.text(at + 292, capacity::kAlign, "数据对齐方式");
    c.width = r.int32(at + 332);
    c.format = r.text(at + 336, capacity::kFormat, "格式");
    c.sum = r.flag(at + 387);
    return c;
}

void writeColumn(RecordWriter& w, size_t at, const TableColumn& c)
{
    w.text(at, c.header, capacity::kHeader);
    w.font(at + 104, c.headerFont);
    w.text(at + 156, c.headerAlign, capacity::kAlign);
    w.text(at + 187, c.item, capacity::kItem);
    w.font(at + 240, c.dataFont);
    w.text(at + 292, c.dataAlign, capacity::kAlign);
    w.int32(at + 332, c.width);
    w.text(at + 336, c.format, capacity::kFormat);
    w.flag(at + 387, c.sum);
}

int checkedCount(int32_t n, int max, const char* what)
{
    if (n < 0 || n > max)
        throw LayoutFileError(std::string(what) + " " + std::to_string(n) + " 超出了 0 到 " + std::to_string(max) + " 的范围");
    return n;
}

}  // namespace

std::string fitToCapacity(const std::string& text, int capacity)
{
    // The file holds the text in GB18030: one, two or four bytes a character.
    try {
        const std::string bytes = db::toGb18030(text);
        if (bytes.size() <= static_cast<size_t>(std::max(capacity, 0))) return text;
        return db::fromGb18030(db::cutGb18030(bytes, static_cast<size_t>(std::max(capacity, 0))));
    } catch (const db::EncodingError&) {
        return text;  // not UTF-8: saving it says so
    }
}

namespace {

std::string outOf(const std::string& what, int value, int low, int high)
{
    if (value >= low && value <= high) return {};
    return what + " " + std::to_string(value) + " 不在 " + std::to_string(low) + " 到 " + std::to_string(high) + " 之间";
}

std::string fontProblem(const TableFont& f, const std::string& what)
{
    return outOf(what + "的字号", f.size, 0, kMaxFontPoints);
}

}  // namespace

std::string TableLayout::rangeProblem() const
{
    if (!fitsA0(paperWidth, paperHeight, kA0ShortTenths, kA0LongTenths))
        return "纸张大小 " + std::to_string(paperWidth) + "×" + std::to_string(paperHeight) +
               " 超出了范围（单位 0.1 毫米，纸张最大为 A0：8410×11890）";
    const std::pair<const char*, int> margins[] = {
        {"左边距", leftMargin}, {"右边距", rightMargin}, {"顶边距", topMargin}, {"底边距", bottomMargin}};
    for (const auto& [what, v] : margins)
        if (std::string p = outOf(what, v, 0, kA0LongTenths); !p.empty()) return p;
    if (leftMargin + rightMargin >= pageWidth() || topMargin + bottomMargin >= pageHeight()) return "页边距超出了纸张的范围";
    if (std::string p = outOf("表格行距", rowHeight, 10, 1000); !p.empty()) return p;
    if (std::string p = fontProblem(tableFont, "表格字体"); !p.empty()) return p;
    for (const TableTitle& t : titles) {
        for (std::string p : {outOf("标题“" + t.text + "”的横向位置", t.x, -kA0LongPixels, kA0LongPixels),
                              outOf("标题“" + t.text + "”的纵向位置", t.y, -kA0LongPixels, kA0LongPixels),
                              fontProblem(t.font, "标题“" + t.text + "”")})
            if (!p.empty()) return p;
    }
    for (const TableColumn& c : columns) {
        for (std::string p : {outOf("打印项目“" + c.item + "”的宽度", c.width, 1, pageWidth()),
                              fontProblem(c.headerFont, "列标题“" + c.header + "”"), fontProblem(c.dataFont, "打印项目“" + c.item + "”")})
            if (!p.empty()) return p;
    }
    return {};
}

int TableLayout::tableWidth() const
{
    int w = 0;
    for (const TableColumn& c : columns) w += c.width;
    return w;
}

TableColumn TableLayout::defaultColumn(const std::string& item)
{
    TableColumn c;
    c.item = fitToCapacity(item, capacity::kItem);
    c.header = fitToCapacity(item, capacity::kHeader);
    return c;
}

TableTitle TableLayout::defaultTitle(const std::string& text)
{
    TableTitle t;
    t.text = fitToCapacity(text, capacity::kTitleText);
    return t;
}

TableLayout TableLayout::defaults(const std::vector<std::string>& gridTitles)
{
    TableLayout l;
    l.titles.push_back(defaultTitle("新表格顶标题"));
    for (const std::string& t : gridTitles) {
        if (static_cast<int>(l.columns.size()) == kMaxColumns) break;
        l.columns.push_back(defaultColumn(t));
    }
    return l;
}

std::vector<uint8_t> TableLayout::toBytes() const
{
    if (static_cast<int>(titles.size()) > kMaxTitles || static_cast<int>(columns.size()) > kMaxColumns)
        throw LayoutFileError("打印格式最多可有 49 个标题和 99 列。");
    std::vector<uint8_t> b = raw;
    b.resize(kRecordSize, 0);
    RecordWriter w(b);
    for (size_t i = 0; i < titles.size(); ++i) writeTitle(w, i * kTitleSize, titles[i]);
    w.int32(kTitleCountAt, static_cast<int32_t>(titles.size()));
    w.text(kPaperAt, paper, capacity::kPaper);
    const int geometry[] = {paperWidth, paperHeight, leftMargin, rightMargin, topMargin, bottomMargin};
    for (size_t i = 0; i < 6; ++i) w.int32(18592 + 4 * i, geometry[i]);
    w.text(18616, pageNumberPosition, capacity::kPagePosition);
    w.text(18667, orientation, capacity::kOrientation);
    w.flag(18698, printPageNumber);
    w.font(18700, tableFont);
    w.flag(18752, wrap);
    w.int32(18756, rowHeight);
    w.flag(18760, pageSubtotal);
    w.flag(18761, runningTotal);
    w.flag(18762, grandTotal);
    w.flag(18763, payStubs);
    for (size_t i = 0; i < columns.size(); ++i) writeColumn(w, kColumnsAt + i * kColumnSize, columns[i]);
    w.int32(kColumnCountAt, static_cast<int32_t>(columns.size()));
    return b;
}

TableLayout TableLayout::fromBytes(const std::vector<uint8_t>& bytes)
{
    if (bytes.size() < kRecordSize)
        throw LayoutFileError("文件只有 " + std::to_string(bytes.size()) + " 字节，不足一个打印格式的 " +
                              std::to_string(kRecordSize) + " 字节");
    TableLayout l;
    l.raw.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(kRecordSize));
    const RecordReader r(l.raw);
    const int titleCount = checkedCount(r.int32(kTitleCountAt), kMaxTitles, "标题数");
    const int columnCount = checkedCount(r.int32(kColumnCountAt), kMaxColumns, "列数");
    for (int i = 0; i < titleCount; ++i) l.titles.push_back(readTitle(r, static_cast<size_t>(i) * kTitleSize));
    l.paper = r.text(kPaperAt, capacity::kPaper, "纸张类型");
    l.paperWidth = r.int32(18592);
    l.paperHeight = r.int32(18596);
    l.leftMargin = r.int32(18600);
    l.rightMargin = r.int32(18604);
    l.topMargin = r.int32(18608);
    l.bottomMargin = r.int32(18612);
    l.pageNumberPosition = r.text(18616, capacity::kPagePosition, "页号位置");
    l.orientation = r.text(18667, capacity::kOrientation, "方向");
    l.printPageNumber = r.flag(18698);
    l.tableFont = r.font(18700, "表格字体名");
    l.wrap = r.flag(18752);
    l.rowHeight = r.int32(18756);
    l.pageSubtotal = r.flag(18760);
    l.runningTotal = r.flag(18761);
    l.grandTotal = r.flag(18762);
    l.payStubs = r.flag(18763);
    for (int i = 0; i < columnCount; ++i)
        l.columns.push_back(readColumn(r, kColumnsAt + static_cast<size_t>(i) * kColumnSize));
    if (const std::string problem = l.rangeProblem(); !problem.empty()) throw LayoutFileError(problem);
    return l;
}

TableLayout TableLayout::read(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) throw LayoutFileError("无法读取文件：" + f.errorString().toStdString());
    const QByteArray data = f.read(static_cast<qint64>(kRecordSize));
    return fromBytes(std::vector<uint8_t>(data.begin(), data.end()));
}

void TableLayout::write(const std::string& path) const
{
    const std::vector<uint8_t> bytes = toBytes();
    QSaveFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !f.commit())
        throw LayoutFileError("无法保存打印格式文件“" + path + "”：" + f.errorString().toStdString());
}

}  // namespace rsgz::print
