#include "print/TablePages.h"

#include <algorithm>

#include "print/NumberFormat.h"

namespace rsgz::print {

namespace {

constexpr int kStubGap = 20;  // 2 mm between two pay slips

// Grid rows of a table page: the usable length in rows, halves to even (32.5 rows are 32).
int gridRowsOf(const TableLayout& l)
{
    if (l.rowHeight <= 0) return 0;
    const int usable = l.usableLength();
    int n = usable / l.rowHeight;
    const int twice = 2 * (usable % l.rowHeight);
    if (twice > l.rowHeight || (twice == l.rowHeight && n % 2 == 1)) ++n;
    return n;
}

// Rows left for records: the header row, and one for each sum row the layout asks for, are not.
int dataRowsOf(const TableLayout& l)
{
    return gridRowsOf(l) - 1 - (l.pageSubtotal ? 1 : 0) - (l.runningTotal ? 1 : 0) - (l.grandTotal ? 1 : 0);
}

int stubsOf(const TableLayout& l)
{
    const int usable = l.usableLength();
    return usable > 0 && l.rowHeight > 0 ? usable / (2 * l.rowHeight + kStubGap) : 0;
}

Alignment alignmentOf(const std::string& text)
{
    if (text == "右齐") return Alignment::Right;
    if (text == "居中") return Alignment::Center;
    return Alignment::Left;
}

FontSpec fontOf(const TableFont& f)
{
    FontSpec s;
    s.name = f.name;
    // A size a damaged or foreign file holds must not make text vanish or fill the page.
    s.size = f.size > 0 ? std::min(f.size, 200) : 9;
    return s;
}

void addLine(ReportPage& page, double x1, double y1, double x2, double y2)
{
    PageLine l;
    l.x1 = x1 / 10, l.y1 = y1 / 10, l.x2 = x2 / 10, l.y2 = y2 / 10;
    page.lines.push_back(l);
}

}  // namespace

std::string layoutProblem(const TableLayout& l)
{
    if (static_cast<int>(l.titles.size()) > TableLayout::kMaxTitles)
        return "打印格式最多可有 " + std::to_string(TableLayout::kMaxTitles) + " 个标题。";
    if (static_cast<int>(l.columns.size()) > TableLayout::kMaxColumns)
        return "打印格式最多可有 " + std::to_string(TableLayout::kMaxColumns) + " 列。";
    if (const std::string problem = l.rangeProblem(); !problem.empty()) return problem + "。";
    // Rows are counted to the nearest whole row, so a table may reach half a row into the bottom
    // margin; one that would run off the paper has no room for its rows.
    const bool offPaper = !l.payStubs && l.topMargin + gridRowsOf(l) * l.rowHeight > l.pageHeight();
    if (offPaper || (l.payStubs ? stubsOf(l) < 1 : dataRowsOf(l) < 1))
        return l.payStubs ? "工资条高于页面可用的高度，一页放不下一张工资条。请减小表格行距或页边距。"
                          : "表格行距太大，一页放不下一行数据。请减小表格行距或页边距。";
    return {};
}

TablePrinter::TablePrinter(const TableLayout& layout, const TableSource& source) : layout_(layout), source_(source)
{
    for (const TableColumn& c : layout_.columns) fields_.push_back(source_.fieldOf(c.item));
    for (size_t c = 0; c < fields_.size(); ++c) anySum_ = anySum_ || summed(c);
    gridRows_ = gridRowsOf(layout_);
    perPage_ = std::max(1, layout_.payStubs ? stubsOf(layout_) : dataRowsOf(layout_));
}

bool TablePrinter::summed(size_t column) const
{
    return layout_.columns[column].sum && fields_[column] >= 0 && source_.isNumber(fields_[column]);
}

int TablePrinter::pageCount() const { return (source_.rowCount() + perPage_ - 1) / perPage_; }

std::string TablePrinter::pageNumberText(int page, int count)
{
    return "第 " + std::to_string(page) + " 页  共 " + std::to_string(count) + " 页";
}

ReportPage TablePrinter::page(int number, bool placingTitles) const
{
    const int first = std::max(0, (number - 1) * perPage_);
    const int end = std::min(source_.rowCount(), first + perPage_);
    ReportPage p = layout_.payStubs ? stubPage(first, end, placingTitles) : tablePage(number, placingTitles);
    p.number = number;
    if (!placingTitles) addTitles(p);
    return p;
}

void TablePrinter::addTitles(ReportPage& page) const
{
    for (const TableTitle& t : layout_.titles) {
        PageText text;
        text.font = fontOf(t.font);
        // The painter keeps 0.8 mm inside a text's box; titles are placed by their text's corner.
        text.x = t.x / kPreviewPixelsPerMm - 0.8;
        text.y = t.y / kPreviewPixelsPerMm;
        text.w = textWidthMm(t.text, text.font) + 2;
        text.h = lineHeightMm(text.font);
        text.text = t.text;
        text.role = TextRole::Band;
        page.texts.push_back(std::move(text));
    }
}

void TablePrinter::addPageNumber(ReportPage& page, int number) const
{
    if (!layout_.printPageNumber) return;
    PageText t;
    t.font = fontOf({"宋体", 11});
    t.text = pageNumberText(number, pageCount());
    t.w = textWidthMm(t.text, t.font) + 2;
    t.h = lineHeightMm(t.font);
    const double left = layout_.leftMargin / 10.0, width = layout_.tableWidth() / 10.0;
    const std::string& pos = layout_.pageNumberPosition;
    const bool above = pos.rfind("表格上部", 0) == 0;
    t.y = above ? layout_.topMargin / 10.0 - t.h - 0.1 : (layout_.topMargin + gridRows_ * layout_.rowHeight) / 10.0 + 0.1;
    if (pos.find("靠右") != std::string::npos) t.x = left + width - t.w;
    else if (pos.find("靠左") != std::string::npos) t.x = left;
    else t.x = left + (width - t.w) / 2;
    t.alignment = Alignment::Center;
    t.role = TextRole::Band;
    page.texts.push_back(std::move(t));
}

void TablePrinter::addGrid(ReportPage& page, int top, int rows) const
{
    const int left = layout_.leftMargin, right = left + layout_.tableWidth();
    for (int i = 0; i <= rows; ++i) addLine(page, left, top + i * layout_.rowHeight, right, top + i * layout_.rowHeight);
    int x = left;
    for (size_t c = 0; c <= layout_.columns.size(); ++c) {
        addLine(page, x, top, x, top + rows * layout_.rowHeight);
        if (c < layout_.columns.size()) x += layout_.columns[c].width;
    }
}

void TablePrinter::addRow(ReportPage& page, int top, const std::vector<std::string>& texts, bool header) const
{
    int x = layout_.leftMargin;
    for (size_t c = 0; c < layout_.columns.size(); ++c) {
        const TableColumn& col = layout_.columns[c];
        if (!texts[c].empty()) {
            PageText t;
            t.x = x / 10.0, t.y = top / 10.0, t.w = col.width / 10.0, t.h = layout_.rowHeight / 10.0;
            t.font = fontOf(header ? col.headerFont : col.dataFont);
            t.alignment = alignmentOf(header ? col.headerAlign : col.dataAlign);
            t.wrap = layout_.wrap;
            t.text = texts[c];
            t.role = header ? TextRole::ColumnTitle : TextRole::Cell;
            t.shrinkToFit = !header && isNumberText(t.text);
            page.texts.push_back(std::move(t));
        }
        x += col.width;
    }
}

std::vector<std::string> TablePrinter::rowTexts(int row) const
{
    std::vector<std::string> out(layout_.columns.size());
    for (size_t c = 0; c < out.size(); ++c) {
        const int f = fields_[c];
        if (f < 0 || row < 0) continue;
        const std::string& format = layout_.columns[c].format;
        db::Money number;
        out[c] = !format.empty() && numberAt(row, f, &number) ? formatNumber(number, format) : source_.text(row, f);
    }
    return out;
}

std::vector<db::Money> TablePrinter::sums(int firstRow, int endRow) const
{
    std::vector<db::Money> out(layout_.columns.size());
    for (size_t c = 0; c < out.size(); ++c) {
        if (!summed(c)) continue;
        db::Money number;
        for (int r = firstRow; r < endRow; ++r)
            if (numberAt(r, fields_[c], &number, true)) out[c] = out[c] + number;
    }
    return out;
}

std::vector<std::string> TablePrinter::sumTexts(const std::vector<db::Money>& s, const char* label) const
{
    std::vector<std::string> out(layout_.columns.size());
    for (size_t c = 0; c < out.size(); ++c)
        if (summed(c)) out[c] = formatNumber(s[c], layout_.columns[c].format);
    if (!out.empty()) out[0] = label;
    return out;
}

// Only numbers count: an empty cell, or text in a column of mixed values, is neither summed nor
// formatted. For a sum an amount counts as the grid shows it, to the fen, so a sum row equals the
// sum of the figures above it and the totals row of the grid; other numbers count as they are.
bool TablePrinter::numberAt(int row, int field, db::Money* out, bool shown) const
{
    if (!source_.isNumber(field)) return false;
    const db::Value v = source_.value(row, field);
    switch (v.kind()) {
    case db::Value::Kind::Money: *out = shown ? v.toMoney().toFen() : v.toMoney(); return true;
    case db::Value::Kind::Int: *out = v.toMoney(); return true;
    case db::Value::Kind::Double: return db::Money::fromDoubleChecked(v.toDouble(), out);
    default: return false;
    }
}

const std::vector<db::Money>& TablePrinter::grandTotals() const
{
    if (!totalsDone_) {
        totals_ = sums(0, source_.rowCount());
        totalsDone_ = true;
    }
    return totals_;
}

ReportPage TablePrinter::tablePage(int number, bool placingTitles) const
{
    ReportPage page;
    const int top = layout_.topMargin, rh = layout_.rowHeight;
    addGrid(page, top, gridRows_);
    addPageNumber(page, number);
    std::vector<std::string> headers;
    for (const TableColumn& c : layout_.columns) headers.push_back(c.header);
    addRow(page, top, headers, true);
    if (placingTitles) return page;
    const int first = std::max(0, (number - 1) * perPage_);
    const int end = std::min(source_.rowCount(), first + perPage_);
    int y = top + rh;
    for (int r = first; r < end; ++r, y += rh) {
        addRow(page, y, rowTexts(r), false);
        page.records.push_back(r);
    }
    if (!anySum_ || end <= first) return page;
    if (layout_.pageSubtotal) {
        addRow(page, y, sumTexts(sums(first, end), "小计"), false);
        y += rh;
    }
    if (layout_.runningTotal) {
        addRow(page, y, sumTexts(sums(0, end), "累计"), false);
        y += rh;
    }
    if (layout_.grandTotal && number == pageCount()) addRow(page, y, sumTexts(grandTotals(), "总计"), false);
    return page;
}

ReportPage TablePrinter::slipOf(int row) const
{
    ReportPage p = stubPage(row, std::min(row + 1, source_.rowCount()), false);
    addTitles(p);
    return p;
}

ReportPage TablePrinter::stubPage(int first, int end, bool placingTitles) const
{
    ReportPage page;
    const int rh = layout_.rowHeight;
    std::vector<std::string> headers;
    for (size_t c = 0; c < layout_.columns.size(); ++c) headers.push_back(fields_[c] >= 0 ? layout_.columns[c].header : "");
    // A page without records (or while titles are placed) shows one empty slip, so the layout can be seen.
    const int stubs = placingTitles || end <= first ? 1 : end - first;
    for (int s = 0; s < stubs; ++s) {
        const int top = layout_.topMargin + s * (2 * rh + kStubGap);
        addRow(page, top, headers, true);
        const int row = placingTitles || end <= first ? -1 : first + s;
        addRow(page, top + rh, rowTexts(row), false);
        addGrid(page, top, 2);
        if (row >= 0) page.records.push_back(row);
    }
    return page;
}

}  // namespace rsgz::print
