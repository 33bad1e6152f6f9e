#include "print/ReportFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <stdexcept>

#include "print/PaperLimits.h"

namespace rsgz::print {

namespace {

constexpr const char* kFormat = "rsgz-report";
constexpr int kVersion = 1;
// Far more than any grid has: its columns, the title bands, the lines of one text, the file.
constexpr qsizetype kMaxColumns = 1000, kMaxBands = 100, kMaxLines = 100;
constexpr qint64 kMaxFileBytes = 16 << 20;

// A damaged value inside a readable file: caught in reportDefinitionFromText.
struct BadValue : std::runtime_error {
    using std::runtime_error::runtime_error;
};

template <typename E, size_t N>
QString enumName(E value, const char* const (&names)[N])
{
    return QString::fromStdString(std::string(names[static_cast<size_t>(value)]));
}

template <typename E, size_t N>
E enumValue(const QJsonValue& v, const char* const (&names)[N], E fallback, const char* what)
{
    if (v.isUndefined())
        return fallback;
    const std::string s = v.toString().toStdString();
    for (size_t i = 0; i < N; ++i)
        if (s == names[i])
            return static_cast<E>(i);
    throw BadValue(std::string(what) + "的值“" + s + "”无法识别");
}

const char* const kAlign[] = {"Left", "Right", "Center"};
const char* const kPenStyle[] = {"Solid", "Dash", "Dot", "DashDot", "None"};
const char* const kShape[] = {"None", "FBox", "FBottomLine", "FLeftLine", "FRightLine", "FTopLine"};
const char* const kBandType[] = {"ReportTitle", "DetailHeader", "DetailFooter", "PageHeader", "PageFooter"};
const char* const kPageSize[] = {"A3", "A4", "A5", "B4", "B5", "CSheet", "Custom", "Default", "Executive", "Letter"};
const char* const kOrientation[] = {"Portrait", "Landscape"};
const char* const kArrange[] = {"Horizontal", "Vertical"};
const char* const kLanguage[] = {"English", "Chinese"};

QString qs(const std::string& s) { return QString::fromStdString(s); }

std::string str(const QJsonObject& o, const char* key, const std::string& fallback)
{
    const QJsonValue v = o.value(QLatin1String(key));
    return v.isString() ? v.toString().toStdString() : fallback;
}
double num(const QJsonObject& o, const char* key, double fallback)
{
    const QJsonValue v = o.value(QLatin1String(key));
    return v.isDouble() ? v.toDouble() : fallback;
}
// A number that must lie within [low, high]: anything else (a huge value, one that no int holds)
// is damage, never a value to convert.
double ranged(const QJsonObject& o, const char* key, double fallback, double low, double high, const char* what)
{
    const double v = num(o, key, fallback);
    if (!(v >= low && v <= high))
        throw BadValue(std::string(what) + "超出了范围");
    return v;
}
bool flag(const QJsonObject& o, const char* key, bool fallback)
{
    const QJsonValue v = o.value(QLatin1String(key));
    return v.isBool() ? v.toBool() : fallback;
}
QJsonArray lines(const std::vector<std::string>& v)
{
    QJsonArray a;
    for (const auto& s : v)
        a.append(qs(s));
    return a;
}
// The entries of a list, of which a definition never needs more than max.
QJsonArray entries(const QJsonValue& v, qsizetype max, const char* what)
{
    const QJsonArray a = v.toArray();
    if (a.size() > max)
        throw BadValue(std::string(what) + "的个数 " + std::to_string(a.size()) + " 超过了 " + std::to_string(max));
    return a;
}
std::vector<std::string> lines(const QJsonValue& v)
{
    std::vector<std::string> out;
    for (const QJsonValue& e : entries(v, kMaxLines, "文字行"))
        out.push_back(e.toString().toStdString());
    return out;
}

QJsonObject toJson(const FontSpec& f)
{
    return {{"Name", qs(f.name)}, {"Size", f.size}, {"Bold", f.bold}, {"Italic", f.italic},
            {"Underline", f.underline}, {"StrikeOut", f.strikeOut}, {"Color", qs(f.color)},
            {"Charset", f.charset}};
}
FontSpec fontFrom(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    FontSpec f;
    f.name = str(o, "Name", f.name);
    f.size = num(o, "Size", f.size);
    if (!(f.size > 0 && f.size <= kMaxFontPoints))
        throw BadValue("字体大小无效");
    f.bold = flag(o, "Bold", f.bold);
    f.italic = flag(o, "Italic", f.italic);
    f.underline = flag(o, "Underline", f.underline);
    f.strikeOut = flag(o, "StrikeOut", f.strikeOut);
    f.color = str(o, "Color", f.color);
    f.charset = static_cast<int>(ranged(o, "Charset", f.charset, 0, 255, "字符集"));
    return f;
}
QJsonObject toJson(const PenSpec& p)
{
    return {{"Color", qs(p.color)}, {"Width", p.width}, {"Style", enumName(p.style, kPenStyle)}};
}
PenSpec penFrom(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    PenSpec p;
    p.color = str(o, "Color", p.color);
    p.width = ranged(o, "Width", p.width, 0, 100, "线宽");
    p.style = enumValue(o.value("Style"), kPenStyle, p.style, "线型");
    return p;
}
QJsonObject toJson(const FrameSpec& f)
{
    return {{"Shape", enumName(f.shape, kShape)}, {"Pen", toJson(f.pen)}};
}
FrameSpec frameFrom(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    FrameSpec f;
    f.shape = enumValue(o.value("Shape"), kShape, f.shape, "边框");
    f.pen = penFrom(o.value("Pen"));
    return f;
}

// Frame, column lines and row lines: the same three properties of the title row and the detail.
void putLines(QJsonObject& o, const FrameSpec& frame, const PenSpec& cols, const PenSpec& rows)
{
    o.insert("Frame", toJson(frame));
    o.insert("ColsLine", toJson(cols));
    o.insert("RowsLine", toJson(rows));
}
void takeLines(const QJsonObject& o, FrameSpec& frame, PenSpec& cols, PenSpec& rows)
{
    frame = frameFrom(o.value("Frame"));
    cols = penFrom(o.value("ColsLine"));
    rows = penFrom(o.value("RowsLine"));
}

QJsonObject toJson(const PageSetup& p)
{
    return {{"Pagestart", p.pageStart}, {"Pagefinish", p.pageFinish}, {"LeftMargin", p.leftMargin},
            {"RightMargin", p.rightMargin}, {"TopMargin", p.topMargin}, {"BottomMargin", p.bottomMargin},
            {"PageSize", enumName(p.size, kPageSize)}, {"Height", p.height}, {"Width", p.width},
            {"Orientation", enumName(p.orientation, kOrientation)}};
}
PageSetup pageFrom(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    PageSetup p;
    p.pageStart = static_cast<int>(ranged(o, "Pagestart", p.pageStart, 0, 99999, "起始页"));
    p.pageFinish = static_cast<int>(ranged(o, "Pagefinish", p.pageFinish, 0, 99999, "结束页"));
    p.leftMargin = ranged(o, "LeftMargin", p.leftMargin, 0, kA0LongMm, "左边距");
    p.rightMargin = ranged(o, "RightMargin", p.rightMargin, 0, kA0LongMm, "右边距");
    p.topMargin = ranged(o, "TopMargin", p.topMargin, 0, kA0LongMm, "上边距");
    p.bottomMargin = ranged(o, "BottomMargin", p.bottomMargin, 0, kA0LongMm, "下边距");
    p.size = enumValue(o.value("PageSize"), kPageSize, p.size, "纸张尺寸");
    p.height = num(o, "Height", p.height);
    p.width = num(o, "Width", p.width);
    p.orientation = enumValue(o.value("Orientation"), kOrientation, p.orientation, "方向");
    // The paper at most A0 either way, the margins within it.
    if (!fitsA0(p.width, p.height, kA0ShortMm, kA0LongMm))
        throw BadValue("纸张宽度或高度无效（纸张最大为 A0，841×1189 毫米）");
    if (p.leftMargin + p.rightMargin >= pageWidthMm(p) || p.topMargin + p.bottomMargin >= pageHeightMm(p))
        throw BadValue("页边距超出了纸张的范围");
    return p;
}

QJsonObject toJson(const Band& b)
{
    return {{"Text", qs(b.text)}, {"Font", toJson(b.font)}, {"Alignment", enumName(b.alignment, kAlign)},
            {"Space", b.space}, {"BandType", enumName(b.type, kBandType)}};
}
Band bandFrom(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    Band b;
    b.text = str(o, "Text", b.text);
    b.font = fontFrom(o.value("Font"));
    b.alignment = enumValue(o.value("Alignment"), kAlign, b.alignment, "对齐方式");
    b.space = ranged(o, "Space", b.space, 0, kA0LongMm, "标题间距");
    b.type = enumValue(o.value("BandType"), kBandType, b.type, "标题类型");
    return b;
}

QJsonObject toJson(const ColumnTitleRow& t)
{
    QJsonObject o{{"Font", toJson(t.font)}, {"TitleArray", lines(t.titleArray)}, {"Print", t.print},
                  {"Rowspace", t.rowSpace}, {"EveryPage", t.everyPage}, {"EveryRow", t.everyRow}};
    putLines(o, t.frame, t.colsLine, t.rowsLine);
    return o;
}
ColumnTitleRow titleRowFrom(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    ColumnTitleRow t;
    t.font = fontFrom(o.value("Font"));
    t.titleArray = lines(o.value("TitleArray"));
    t.print = flag(o, "Print", t.print);
    t.rowSpace = ranged(o, "Rowspace", t.rowSpace, 0, 1000, "列标题行距");
    t.everyPage = flag(o, "EveryPage", t.everyPage);
    t.everyRow = flag(o, "EveryRow", t.everyRow);
    takeLines(o, t.frame, t.colsLine, t.rowsLine);
    return t;
}

QJsonObject toJson(const DetailSection& d)
{
    QJsonObject o{{"Arrange", enumName(d.arrange, kArrange)}, {"Rowspace", d.rowSpace}, {"Font", toJson(d.font)},
                  {"Top", d.top}};
    putLines(o, d.frame, d.colsLine, d.rowsLine);
    return o;
}
DetailSection detailFrom(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    DetailSection d;
    d.arrange = enumValue(o.value("Arrange"), kArrange, d.arrange, "排列");
    d.rowSpace = ranged(o, "Rowspace", d.rowSpace, 0, 1000, "明细行距");
    d.font = fontFrom(o.value("Font"));
    d.top = ranged(o, "Top", d.top, 0, kA0LongMm, "明细顶距");
    takeLines(o, d.frame, d.colsLine, d.rowsLine);
    return d;
}

QJsonObject toJson(const Column& c)
{
    QJsonObject title{{"Text", lines(c.title.text)}, {"Font", toJson(c.title.font)},
                      {"Color", qs(c.title.color)}, {"Alignment", enumName(c.title.alignment, kAlign)}};
    return {{"FieldName", qs(c.fieldName)}, {"Width", c.width}, {"Font", toJson(c.font)},
            {"Color", qs(c.color)}, {"Alignment", enumName(c.alignment, kAlign)}, {"Format", qs(c.format)},
            {"Title", title},
            {"Autoreturn", QJsonObject{{"Enabled", c.wrap}, {"Pagination", c.pagination}}},
            {"MasterOption", QJsonObject{{"Master", c.master}, {"SingleRow", c.singleRow},
                                         {"Expression", qs(c.expression)}}}};
}
Column columnFrom(const QJsonValue& v)
{
    const QJsonObject o = v.toObject();
    Column c;
    c.fieldName = str(o, "FieldName", c.fieldName);
    c.width = static_cast<int>(ranged(o, "Width", c.width, 0, kA0LongMm, "列宽度"));
    c.font = fontFrom(o.value("Font"));
    c.color = str(o, "Color", c.color);
    c.alignment = enumValue(o.value("Alignment"), kAlign, c.alignment, "对齐方式");
    c.format = str(o, "Format", c.format);
    const QJsonObject t = o.value("Title").toObject();
    c.title.text = lines(t.value("Text"));
    c.title.font = fontFrom(t.value("Font"));
    c.title.color = str(t, "Color", c.title.color);
    c.title.alignment = enumValue(t.value("Alignment"), kAlign, c.title.alignment, "标题对齐方式");
    const QJsonObject a = o.value("Autoreturn").toObject();
    c.wrap = flag(a, "Enabled", c.wrap);
    c.pagination = flag(a, "Pagination", c.pagination);
    const QJsonObject m = o.value("MasterOption").toObject();
    c.master = flag(m, "Master", c.master);
    c.singleRow = flag(m, "SingleRow", c.singleRow);
    c.expression = str(m, "Expression", c.expression);
    return c;
}

ReportFileResult failure(std::string message)
{
    ReportFileResult r;
    r.error = std::move(message);
    return r;
}

}  // namespace

std::string reportDefinitionToText(const ReportDefinition& def)
{
    QJsonArray bands, columns;
    for (const Band& b : def.bands)
        bands.append(toJson(b));
    for (const Column& c : def.columns)
        columns.append(toJson(c));
    QJsonObject root{{"Format", kFormat}, {"Version", kVersion},
                     {"Languages", enumName(def.language, kLanguage)}, {"ReportSource", qs(def.reportSource)},
                     {"Page", toJson(def.page)}, {"Bands", bands}, {"ColsTitle", toJson(def.colsTitle)},
                     {"Detail", toJson(def.detail)}, {"Columns", columns}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
}

ReportFileResult reportDefinitionFromText(const std::string& text)
{
    QJsonParseError err{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &err);
    if (err.error != QJsonParseError::NoError || !doc.isObject())
        return failure("文件内容已损坏，不是报表定义（第 " + std::to_string(err.offset) + " 个字节附近）。");
    const QJsonObject root = doc.object();
    if (root.value("Format").toString() != QLatin1String(kFormat))
        return failure("文件不是本程序的报表定义。");
    const int version = root.value("Version").toInt(-1);
    if (version < 1 || version > kVersion)
        return failure("报表定义的版本 " + std::to_string(version) + " 无法识别，可能由更新的程序写成。");
    try {
        ReportFileResult r;
        ReportDefinition& d = r.definition;
        d.language = enumValue(root.value("Languages"), kLanguage, d.language, "语言");
        d.reportSource = str(root, "ReportSource", d.reportSource);
        d.page = pageFrom(root.value("Page"));
        for (const QJsonValue& b : entries(root.value("Bands"), kMaxBands, "标题"))
            d.bands.push_back(bandFrom(b));
        d.colsTitle = titleRowFrom(root.value("ColsTitle"));
        d.detail = detailFrom(root.value("Detail"));
        for (const QJsonValue& c : entries(root.value("Columns"), kMaxColumns, "列"))
            d.columns.push_back(columnFrom(c));
        r.ok = true;
        return r;
    } catch (const BadValue& e) {
        return failure(std::string("报表定义中") + e.what() + "。");
    }
}

ReportFileResult loadReportDefinition(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly))
        return failure("无法打开报表定义文件：" + f.errorString().toStdString());
    if (f.size() > kMaxFileBytes)
        return failure("报表定义文件“" + path + "”无法读取：文件有 " + std::to_string(f.size()) + " 字节，不是报表定义。");
    ReportFileResult r = reportDefinitionFromText(f.readAll().toStdString());
    if (!r.ok)
        r.error = "报表定义文件“" + path + "”无法读取：" + r.error;
    return r;
}

std::string saveReportDefinition(const ReportDefinition& def, const std::string& path)
{
    QSaveFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::WriteOnly))
        return f.errorString().toStdString();
    const std::string text = reportDefinitionToText(def);
    f.write(text.data(), static_cast<qint64>(text.size()));
    if (!f.commit())
        return f.errorString().toStdString();
    return {};
}

}  // namespace rsgz::print
