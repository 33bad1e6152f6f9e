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

// A text broken into the lines it takes in a box of the given width (at least one line). Breaks
// fall between characters: Chinese text has no spaces to break at.
std::vector<std::string> wrapText(const std::string& text, const FontSpec& font, double width)
{
    std::vector<std::string> out;
    for (const std::string& l : splitLines(text)) {
        const QString line = QString::fromStdString(l);
        QString part;
        for (const QChar c : line) {
            if (!part.isEmpty() && width > 0 && textWidthMm((part + c).toStdString(), font) > width) {
                out.push_back(part.toStdString());
                part.clear();
            }
            part += c;
        }
        out.push_back(part.toStdString());
    }
    if (out.empty())
        out.emplace_back();
    return out;
}

// Lines first..first+count-1 of a cell, joined; empty past the cell's last line.
std::string linesOf(const std::vector<std::string>& lines, size_t first, size_t count)
{
    std::string text;
    for (size_t i = first; i < lines.size() && i < first + count; ++i)
        text += (i == first ? "" : "\n") + lines[i];
    return text;
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
    // The lines of every cell of a record: a wrapping column broken to its width, the others whole.
    std::vector<std::vector<std::string>> recordLines(int r) const
    {
        std::vector<std::vector<std::string>> out;
        for (size_t i = 0; i < columns_.size(); ++i) {
            std::string text = cellText(r, i);
            if (columns_[i].wrap)
                out.push_back(wrapText(text, columns_[i].font, colW(i) - 1.0));
            else
                out.push_back({std::move(text)});
        }
        return out;
    }
    std::string cellText(int r, size_t col) const
    {
        const int f = table_.fieldIndex(columns_[col].fieldName);
        if (f < 0)
            return {};
        return formatCell(table_.rows[static_cast<size_t>(r)][static_cast<size_t>(f)], columns_[col].format);
    }
    // "记录未打印完允许换页" on a wrapping column: a record may begin at the foot of a page and go on.
    bool mayContinue() const
    {
        return std::any_of(columns_.begin(), columns_.end(), [](const Column& c) { return c.wrap && c.pagination; });
    }
    double detailLine() const { return lineHeightMm(def_.detail.font); }
    double detailPad() const { return def_.detail.rowSpace * kMmPerPoint; }

    // Makes room for h millimetres of detail; a page that already holds something is closed first.
    void room(double h)
    {
        if (y_ + h <= limit() || (page().records.empty() && !detail_.open()))
            return;
        newPage();
    }

    // A record that does not fit in the space left goes to the next page whole, unless its columns
    // allow it to continue; one taller than a page is always split, so no line of it is lost.
    void horizontalRecord(int r, std::string* lastMaster)
    {
        const bool titles = def_.colsTitle.print && def_.colsTitle.everyRow;
        const std::vector<std::vector<std::string>> lines = recordLines(r);
        size_t count = 1;
        for (const auto& l : lines)
            count = std::max(count, l.size());
        const double lh = detailLine(), pad = detailPad();
        const std::string master = masterText(r);
        const bool group = singleRowMaster() && master != *lastMaster;
        const double before = (titles ? titleHeight() : 0) + (group ? lh + pad : 0);
        const bool startHere = y_ + before + lh * static_cast<double>(count) + pad <= limit()
                               || (mayContinue() && y_ + before + lh + pad <= limit());
        if (!startHere)
            room(before + lh * static_cast<double>(count) + pad);
        if (titles) {
            closeBlock(detail_, def_.detail.frame, def_.detail.colsLine, def_.detail.rowsLine);
            titleRows();
        }
        if (group)
            groupRow(master);
        bool newOnPage = page().records.empty();
        for (size_t from = 0; from < count;) {
            if (from > 0) {
                newPage();
                newOnPage = true;
            }
            const size_t fit = static_cast<size_t>(std::max(0.0, (limit() - y_ - pad) / lh) + 1e-9);
            const size_t n = std::min(count - from, std::max<size_t>(fit, 1));
            const double h = lh * static_cast<double>(n) + pad;
            detailRow(h);
            for (size_t i = 0; i < columns_.size(); ++i) {
                const Column& c = columns_[i];
                std::string text = linesOf(lines[i], from, n);
                // A master value repeats only where it changes or where a page starts.
                if (c.master && !c.singleRow && !newOnPage && master == *lastMaster)
                    text.clear();
                if (c.master && c.singleRow)
                    text.clear();
                addCell(i, y_, h, text, c.font, c.alignment, c.color, TextRole::Cell, c.wrap);
            }
            y_ += h;
            detail_.bottom = y_;
            page().records.push_back(r);
            from += n;
        }
        *lastMaster = master;
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
        const double h = detailLine() + detailPad();
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

    // One record as a column of title/value lines; a record longer than a page goes on over the next.
    void verticalRecord(int r)
    {
        const double lh = detailLine() + detailPad();
        room(lh * static_cast<double>(columns_.size()));
        const double left = tableLeft(), right = out_.widthMm - def_.page.rightMargin;
        const double split = left + std::min(40.0, (right - left) / 3);
        const std::vector<double> saved = xs_;
        Block block;
        block.top = y_;
        const auto close = [&] {
            block.bottom = y_;
            xs_ = {left, split, right};
            closeBlock(block, def_.detail.frame, def_.detail.colsLine, def_.detail.rowsLine);
            xs_ = saved;
        };
        for (size_t i = 0; i < columns_.size(); ++i) {
            if (i > 0 && y_ + lh > limit()) {
                close();
                page().records.push_back(r);
                newPage();
                block.top = y_;
            } else if (i > 0) {
                block.rowEdges.push_back(y_);
            }
            const Column& c = columns_[i];
            std::string title;
            for (const std::string& l : c.title.text)
                title += l;
            addText(left, split - left, y_, lh, title, c.title.font, Alignment::Left, {}, TextRole::ColumnTitle);
            addText(split, right - split, y_, lh, cellText(r, i), c.font, c.alignment, {}, TextRole::Cell);
            y_ += lh;
        }
        close();
        y_ += 2.0;
        page().records.push_back(r);
    }

    // A total row below the last record when any column has a summary expression.
    void totals()
    {
        const bool any = std::any_of(columns_.begin(), columns_.end(), [](const Column& c) { return !c.expression.empty(); });
        if (!any || def_.detail.arrange == Arrange::Vertical)
            return;
        const double h = detailLine() + detailPad();
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
        t.shrinkToFit = (role == TextRole::Cell || role == TextRole::Total) && isNumberText(t.text);
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

bool isNumberText(const std::string& text)
{
    const QString t = QString::fromStdString(text).trimmed();
    bool digit = false;
    for (const QChar c : t) {
        if (c.isDigit()) digit = true;
        else if (!QStringLiteral("+-.,%()¥￥$Ee /:").contains(c)) return false;
    }
    return digit;
}

}  // namespace rsgz::print
