#include "print/ReportPages.h"

#include <QString>
#include <QStringList>
#include <algorithm>

#include "print/ReportExpression.h"

namespace rsgz::print {

namespace {

constexpr double kMmPerPoint = 25.4 / 72.0;

bool visible(const PenSpec& p) { return p.style != PenStyle::None; }

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> out;
    for (const QString& l : QString::fromStdString(text).split('\n'))
        out.push_back(l.toStdString());
    return out;
}

// Lines a text takes in a box of the given width when it wraps (at least one).
int wrappedLines(const std::string& text, const FontSpec& font, double width)
{
    if (width <= 0)
        return 1;
    int lines = 0;
    for (const std::string& l : splitLines(text))
        lines += std::max(1, static_cast<int>(textWidthMm(l, font) / width + 0.999));
    return std::max(lines, 1);
}

// A rectangle of the page that frames, row lines and column lines are drawn around.
struct Block {
    double top = 0, bottom = 0;
    double colsFrom = -1;          // column lines start here (below spanning header lines); -1: top
    std::vector<double> rowEdges;  // y of every boundary between two rows
    bool open() const { return bottom > top; }
};

class Layouter {
public:
    Layouter(const ReportDefinition& def, const ReportTable& table) : def_(def), table_(table)
    {
        columns_ = def.columns;
        if (columns_.empty())
            for (const std::string& f : table.fields)
                columns_.push_back(columnForField(f));
        out_.widthMm = pageWidthMm(def.page);
        out_.heightMm = pageHeightMm(def.page);
        placeColumns();
    }

    ReportLayout run()
    {
        newPage();
        std::string lastMaster;
        for (int r = 0; r < static_cast<int>(table_.rows.size()); ++r) {
            if (def_.detail.arrange == Arrange::Vertical)
                verticalRecord(r);
            else
                horizontalRecord(r, &lastMaster);
        }
        closeBlock(detail_, def_.detail.frame, def_.detail.colsLine, def_.detail.rowsLine);
        totals();
        for (const Band& b : def_.bands)
            if (b.type == BandType::DetailFooter)
                band(b, true);
        finishPage();
        return std::move(out_);
    }

private:
    // --- columns ------------------------------------------------------------------------------
    void placeColumns()
    {
        const double left = def_.page.leftMargin;
        const double usable = out_.widthMm - left - def_.page.rightMargin;
        double total = 0;
        for (const Column& c : columns_)
            total += std::max(c.width, 1);
        // Columns wider than the paper are narrowed together rather than cut off at the edge.
        const double scale = total > usable && total > 0 ? usable / total : 1.0;
        double x = left;
        for (const Column& c : columns_) {
            xs_.push_back(x);
            x += std::max(c.width, 1) * scale;
        }
        xs_.push_back(x);
    }
    double colX(size_t i) const { return xs_[i]; }
    double colW(size_t i) const { return xs_[i + 1] - xs_[i]; }
    double tableLeft() const { return xs_.front(); }
    double tableRight() const { return xs_.back(); }

    // --- pages --------------------------------------------------------------------------------
    ReportPage& page() { return out_.pages.back(); }
    double limit() const { return out_.heightMm - def_.page.bottomMargin - footerHeight(); }
    double footerHeight() const
    {
        double h = 0;
        for (const Band& b : def_.bands)
            if (b.type == BandType::PageFooter)
                h += bandHeight(b);
        return h;
    }
    static double bandHeight(const Band& b)
    {
        return lineHeightMm(b.font) * static_cast<double>(splitLines(b.text).size()) + b.space;
    }

    void newPage()
    {
        if (!out_.pages.empty())
            finishPage();
        ReportPage p;
        p.number = static_cast<int>(out_.pages.size()) + 1;
        out_.pages.push_back(std::move(p));
        y_ = def_.page.topMargin;
        const bool first = out_.pages.size() == 1;
        for (const Band& b : def_.bands)
            if (b.type == BandType::PageHeader || (first && b.type == BandType::ReportTitle))
                band(b, false);
        if (first)
            for (const Band& b : def_.bands)
                if (b.type == BandType::DetailHeader)
                    band(b, false);
        y_ += def_.detail.top;
        const ColumnTitleRow& t = def_.colsTitle;
        if (def_.detail.arrange == Arrange::Horizontal && t.print && !t.everyRow && (first || t.everyPage))
            titleRows();
    }

    void finishPage()
    {
        closeBlock(detail_, def_.detail.frame, def_.detail.colsLine, def_.detail.rowsLine);
        double y = limit();
        for (const Band& b : def_.bands)
            if (b.type == BandType::PageFooter) {
                addBand(b, y);
                y += bandHeight(b);
            }
    }

    // Puts a band at the current line; a band that no longer fits goes to a new page.
    void band(const Band& b, bool mayBreak)
    {
        if (mayBreak && y_ + bandHeight(b) > limit())
            newPage();
        addBand(b, y_);
        y_ += bandHeight(b);
    }
    void addBand(const Band& b, double y)
    {
        PageText t;
        t.x = def_.page.leftMargin;
        t.w = out_.widthMm - def_.page.leftMargin - def_.page.rightMargin;
        t.y = y;
        t.h = bandHeight(b) - b.space;
        t.text = bandText(b.text, page().number, static_cast<int>(table_.rows.size()));
        t.font = b.font;
        t.alignment = b.alignment;
        t.role = TextRole::Band;
        page().texts.push_back(std::move(t));
    }

    // --- column titles ------------------------------------------------------------------------
    double titleHeight() const
    {
        const ColumnTitleRow& t = def_.colsTitle;
        size_t lines = 1;
        for (const Column& c : columns_)
            lines = std::max(lines, c.title.text.size());
        const double arrayH = lineHeightMm(t.font) * static_cast<double>(t.titleArray.size());
        return arrayH + lineHeightMm(t.font) * static_cast<double>(lines) + t.rowSpace * kMmPerPoint;
    }

    void titleRows()
    {
        const ColumnTitleRow& t = def_.colsTitle;
        Block block;
        block.top = y_;
        const double lh = lineHeightMm(t.font);
        for (const std::string& line : t.titleArray) {
            titleArrayLine(line, lh);
            block.rowEdges.push_back(y_);
        }
        block.colsFrom = y_;
        const double h = titleHeight() - lh * static_cast<double>(t.titleArray.size());
        for (size_t i = 0; i < columns_.size(); ++i) {
            const Column& c = columns_[i];
            std::string text;
            for (const std::string& l : c.title.text)
                text += (text.empty() ? "" : "\n") + l;
            addCell(i, y_, h, text, c.title.font, c.title.alignment, c.title.color, TextRole::ColumnTitle);
        }
        y_ += h;
        block.bottom = y_;
        closeBlock(block, t.frame, t.colsLine, t.rowsLine);
    }

    // One header line above the column titles: cells are separated by "|"; a cell followed by
    // empty cells spans them ("起止日期||单位" puts 起止日期 over two columns).
    void titleArrayLine(const std::string& text, double lh)
    {
        const QStringList cells = QString::fromStdString(text).split('|');
        const size_t n = std::min(columns_.size(), static_cast<size_t>(cells.size()));
        size_t i = 0;
        while (i < n) {
            size_t end = i + 1;
            while (end < n && cells[static_cast<int>(end)].isEmpty())
                ++end;
            PageText t;
            t.x = colX(i);
            t.w = colX(end) - colX(i);
            t.y = y_;
            t.h = lh;
            t.text = cells[static_cast<int>(i)].toStdString();
            t.font = def_.colsTitle.font;
            t.alignment = Alignment::Center;
            t.role = TextRole::TitleArray;
            page().texts.push_back(std::move(t));
            if (i > 0)
                line(colX(i), y_, colX(i), y_ + lh, def_.colsTitle.colsLine);
            i = end;
        }
        y_ += lh;
    }

    // --- records ------------------------------------------------------------------------------
    double rowHeight(int r) const
    {
        int lines = 1;
        for (size_t i = 0; i < columns_.size(); ++i)
            if (columns_[i].wrap)
                lines = std::max(lines, wrappedLines(cellText(r, i), columns_[i].font, colW(i) - 1.0));
        return lineHeightMm(def_.detail.font) * lines + def_.detail.rowSpace * kMmPerPoint;
    }
    std::string cellText(int r, size_t col) const
    {
        const int f = table_.fieldIndex(columns_[col].fieldName);
        if (f < 0)
            return {};
        return formatCell(table_.rows[static_cast<size_t>(r)][static_cast<size_t>(f)], columns_[col].format);
    }

    // Makes room for h millimetres of detail; a page that already holds something is closed first.
    void room(double h)
    {
        if (y_ + h <= limit() || (page().records.empty() && !detail_.open()))
            return;
        newPage();
    }

    void horizontalRecord(int r, std::string* lastMaster)
    {
        const bool titles = def_.colsTitle.print && def_.colsTitle.everyRow;
        const double h = rowHeight(r);
        const std::string master = masterText(r);
        const bool group = singleRowMaster() && master != *lastMaster;
        room(h + (titles ? titleHeight() : 0) + (group ? rowHeight(r) : 0));
        if (titles) {
            closeBlock(detail_, def_.detail.frame, def_.detail.colsLine, def_.detail.rowsLine);
            titleRows();
        }
        const bool newOnPage = page().records.empty();
        if (group)
            groupRow(master);
        detailRow(h);
        for (size_t i = 0; i < columns_.size(); ++i) {
            const Column& c = columns_[i];
            std::string text = cellText(r, i);
            // A master value repeats only where it changes or where a page starts.
            if (c.master && !c.singleRow && !newOnPage && master == *lastMaster)
                text.clear();
            if (c.master && c.singleRow)
                text.clear();
            addCell(i, y_, h, text, c.font, c.alignment, c.color, TextRole::Cell, c.wrap);
        }
        *lastMaster = master;
        y_ += h;
        detail_.bottom = y_;
        page().records.push_back(r);
    }

    bool singleRowMaster() const
    {
        return std::any_of(columns_.begin(), columns_.end(), [](const Column& c) { return c.master && c.singleRow; });
    }
    std::string masterText(int r) const
    {
        std::string key;
        for (size_t i = 0; i < columns_.size(); ++i)
            if (columns_[i].master)
                key += cellText(r, i) + '\x1f';
        return key;
    }

    void groupRow(const std::string& key)
    {
        const double h = lineHeightMm(def_.detail.font) + def_.detail.rowSpace * kMmPerPoint;
        detailRow(h);
        std::string text = key;
        std::replace(text.begin(), text.end(), '\x1f', ' ');
        PageText t;
        t.x = tableLeft();
        t.w = tableRight() - tableLeft();
        t.y = y_;
        t.h = h;
        t.text = QString::fromStdString(text).trimmed().toStdString();
        t.font = def_.detail.font;
        t.font.bold = true;
        t.role = TextRole::Group;
        page().texts.push_back(std::move(t));
        y_ += h;
        detail_.bottom = y_;
    }

    // Starts a detail line: opens the page's detail block or marks the boundary above the line.
    void detailRow(double)
    {
        if (!detail_.open()) {
            detail_.top = y_;
            detail_.bottom = y_;
            detail_.rowEdges.clear();
        } else {
            detail_.rowEdges.push_back(y_);
        }
    }

    void verticalRecord(int r)
    {
        const double lh = lineHeightMm(def_.detail.font) + def_.detail.rowSpace * kMmPerPoint;
        room(lh * static_cast<double>(columns_.size()));
        const double left = tableLeft(), right = out_.widthMm - def_.page.rightMargin;
        const double split = left + std::min(40.0, (right - left) / 3);
        Block block;
        block.top = y_;
        for (size_t i = 0; i < columns_.size(); ++i) {
            if (i > 0)
                block.rowEdges.push_back(y_);
            const Column& c = columns_[i];
            std::string title;
            for (const std::string& l : c.title.text)
                title += l;
            addText(left, split - left, y_, lh, title, c.title.font, Alignment::Left, {}, TextRole::ColumnTitle);
            addText(split, right - split, y_, lh, cellText(r, i), c.font, c.alignment, {}, TextRole::Cell);
            y_ += lh;
        }
        block.bottom = y_;
        const std::vector<double> saved = xs_;
        xs_ = {left, split, right};
        closeBlock(block, def_.detail.frame, def_.detail.colsLine, def_.detail.rowsLine);
        xs_ = saved;
        y_ += 2.0;
        page().records.push_back(r);
    }

    // A total row below the last record when any column has a summary expression.
    void totals()
    {
        const bool any = std::any_of(columns_.begin(), columns_.end(), [](const Column& c) { return !c.expression.empty(); });
        if (!any || def_.detail.arrange == Arrange::Vertical)
            return;
        const double h = lineHeightMm(def_.detail.font) + def_.detail.rowSpace * kMmPerPoint;
        if (y_ + h > limit())
            newPage();
        Block block;
        block.top = y_;
        for (size_t i = 0; i < columns_.size(); ++i) {
            const Column& c = columns_[i];
            const std::string text = c.expression.empty()
                ? (i == 0 ? "合计" : "")
                : summaryText(evaluateSummary(c.expression, table_, c.fieldName), c.format);
            addCell(i, y_, h, text, c.font, c.expression.empty() ? Alignment::Left : c.alignment, {}, TextRole::Total);
        }
        y_ += h;
        block.bottom = y_;
        closeBlock(block, def_.detail.frame, def_.detail.colsLine, def_.detail.rowsLine);
    }

    // --- drawing primitives --------------------------------------------------------------------
    void addCell(size_t col, double y, double h, std::string text, const FontSpec& font, Alignment a,
                 const std::string& color, TextRole role, bool wrap = false)
    {
        addText(colX(col), colW(col), y, h, std::move(text), font, a, color, role, wrap);
    }
    void addText(double x, double w, double y, double h, std::string text, const FontSpec& font, Alignment a,
                 const std::string& color, TextRole role, bool wrap = false)
    {
        PageText t;
        t.x = x;
        t.y = y;
        t.w = w;
        t.h = h;
        t.text = std::move(text);
        t.font = font;
        t.alignment = a;
        t.wrap = wrap;
        t.role = role;
        if (!color.empty() && QString::fromStdString(color).compare("#FFFFFF", Qt::CaseInsensitive) != 0)
            t.background = color;
        page().texts.push_back(std::move(t));
    }
    void line(double x1, double y1, double x2, double y2, const PenSpec& pen)
    {
        if (visible(pen))
            page().lines.push_back({x1, y1, x2, y2, pen});
    }

    void closeBlock(Block& b, const FrameSpec& frame, const PenSpec& cols, const PenSpec& rows)
    {
        if (!b.open())
            return;
        const double l = xs_.front(), r = xs_.back();
        for (double y : b.rowEdges)
            line(l, y, r, y, rows);
        for (size_t i = 1; i + 1 < xs_.size(); ++i)
            line(xs_[i], b.colsFrom < 0 ? b.top : b.colsFrom, xs_[i], b.bottom, cols);
        const PenSpec& p = frame.pen;
        switch (frame.shape) {
        case FrameShape::Box:
            line(l, b.top, r, b.top, p);
            line(l, b.bottom, r, b.bottom, p);
            line(l, b.top, l, b.bottom, p);
            line(r, b.top, r, b.bottom, p);
            break;
        case FrameShape::TopLine: line(l, b.top, r, b.top, p); break;
        case FrameShape::BottomLine: line(l, b.bottom, r, b.bottom, p); break;
        case FrameShape::LeftLine: line(l, b.top, l, b.bottom, p); break;
        case FrameShape::RightLine: line(r, b.top, r, b.bottom, p); break;
        case FrameShape::None: break;
        }
        b = Block{};
    }

    const ReportDefinition& def_;
    const ReportTable& table_;
    std::vector<Column> columns_;
    std::vector<double> xs_;
    ReportLayout out_;
    double y_ = 0;
    Block detail_;
};

}  // namespace

std::vector<std::string> ReportPage::textsOf(TextRole role) const
{
    std::vector<std::string> out;
    for (const PageText& t : texts)
        if (t.role == role)
            out.push_back(t.text);
    return out;
}

ReportLayout layoutReport(const ReportDefinition& def, const ReportTable& table)
{
    return Layouter(def, table).run();
}

std::string bandText(const std::string& text, int pageNumber, int recordCount)
{
    QString t = QString::fromStdString(text);
    t.replace(QStringLiteral("|#|"), QString::number(pageNumber));
    t.replace(QStringLiteral("|RECORDCOUNT|"), QString::number(recordCount));
    return t.toStdString();
}

std::pair<int, int> pageRange(const PageSetup& page, int pageCount)
{
    const int last = pageCount - 1;
    if (page.pageStart <= 0 && page.pageFinish <= 0)
        return {0, last};
    const int first = std::max(page.pageStart, 1) - 1;
    const int finish = page.pageFinish <= 0 ? last : std::min(page.pageFinish - 1, last);
    if (first > last || finish < first)
        return {0, last};
    return {first, finish};
}

double lineHeightMm(const FontSpec& font)
{
    return font.size * kMmPerPoint * 1.35;
}

double textWidthMm(const std::string& text, const FontSpec& font)
{
    double ems = 0;
    for (const QChar c : QString::fromStdString(text))
        ems += c.unicode() < 0x2E80 ? 0.55 : 1.0;
    return ems * font.size * kMmPerPoint;
}

}  // namespace rsgz::print
