#include "print/windows/ReportPainter.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "print/PrintFonts.h"

namespace rsgz::print {

namespace {

Qt::Alignment qtAlignment(print::Alignment a)
{
    switch (a) {
    case print::Alignment::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case print::Alignment::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    case print::Alignment::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QPen qtPen(const print::PenSpec& pen, double dotsPerMm)
{
    QPen p(QColor(QString::fromStdString(pen.color)));
    p.setWidthF(std::max(0.2 * pen.width * dotsPerMm, 1.0));
    switch (pen.style) {
    case print::PenStyle::Dash: p.setStyle(Qt::DashLine); break;
    case print::PenStyle::Dot: p.setStyle(Qt::DotLine); break;
    case print::PenStyle::DashDot: p.setStyle(Qt::DashDotLine); break;
    case print::PenStyle::None: p.setStyle(Qt::NoPen); break;
    case print::PenStyle::Solid: break;
    }
    return p;
}

QPageSize qtPageSize(const print::ReportLayout& layout, const print::PageSetup& page)
{
    using print::PageSize;
    switch (page.size) {
    case PageSize::A3: return QPageSize(QPageSize::A3);
    case PageSize::A4: return QPageSize(QPageSize::A4);
    case PageSize::A5: return QPageSize(QPageSize::A5);
    case PageSize::B4: return QPageSize(QPageSize::B4);
    case PageSize::B5: return QPageSize(QPageSize::B5);
    case PageSize::Executive: return QPageSize(QPageSize::Executive);
    case PageSize::Letter: return QPageSize(QPageSize::Letter);
    default: break;
    }
    const double w = std::min(layout.widthMm, layout.heightMm), h = std::max(layout.widthMm, layout.heightMm);
    return QPageSize(QSizeF(w, h), QPageSize::Millimeter);
}

}  // namespace

QFont reportFont(const print::FontSpec& f)
{
    QFont font(QString::fromStdString(print::installedFontFamily(f.name)));
    font.setPointSizeF(f.size);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);
    return font;
}

QFont fittedFont(QFont font, const QString& text, double width, QPaintDevice* device)
{
    auto advance = [&] { return device ? QFontMetricsF(font, device).horizontalAdvance(text) : QFontMetricsF(font).horizontalAdvance(text); };
    for (double w = advance(); w > width && font.pixelSize() > 1; w = advance()) {
        // Straight to the size the width allows, then down a pixel at a time, as glyph widths do
        // not scale exactly with the size.
        const int size = font.pixelSize();
        font.setPixelSize(std::max(1, std::min(size - 1, static_cast<int>(size * width / w))));
    }
    return font;
}

void paintReportPage(QPainter& p, const print::ReportPage& page, double dotsPerMm)
{
    p.save();
    for (const print::PageText& t : page.texts) {
        const QRectF r(t.x * dotsPerMm, t.y * dotsPerMm, t.w * dotsPerMm, t.h * dotsPerMm);
        if (!t.background.empty())
            p.fillRect(r, QColor(QString::fromStdString(t.background)));
        QFont font = reportFont(t.font);
        // Point sizes are set for the device's resolution so text keeps its size in millimetres.
        font.setPixelSize(std::max(1, static_cast<int>(t.font.size * 25.4 / 72.0 * dotsPerMm)));
        const QRectF inner = r.adjusted(0.8 * dotsPerMm, 0, -0.8 * dotsPerMm, 0);
        const QString text = QString::fromStdString(t.text);
        if (t.shrinkToFit)
            font = fittedFont(font, text, inner.width(), p.device());
        p.setFont(font);
        p.setPen(QColor(QString::fromStdString(t.font.color)));
        int flags = static_cast<int>(qtAlignment(t.alignment));
        if (t.wrap && !t.shrinkToFit)
            flags |= Qt::TextWrapAnywhere;
        p.drawText(inner, flags, text);
    }
    for (const print::PageLine& l : page.lines) {
        p.setPen(qtPen(l.pen, dotsPerMm));
        p.drawLine(QPointF(l.x1 * dotsPerMm, l.y1 * dotsPerMm), QPointF(l.x2 * dotsPerMm, l.y2 * dotsPerMm));
    }
    p.restore();
}

void setReportPaper(QPagedPaintDevice& device, const print::ReportLayout& layout, const print::PageSetup& page)
{
    const auto orientation = layout.widthMm > layout.heightMm ? QPageLayout::Landscape : QPageLayout::Portrait;
    device.setPageLayout(QPageLayout(qtPageSize(layout, page), orientation, QMarginsF(0, 0, 0, 0)));
}

QString paintReport(QPagedPaintDevice& device, const print::ReportLayout& layout, int first, int last)
{
    last = std::min(last, static_cast<int>(layout.pages.size()) - 1);
    return paintPages(device, first, last, [&](int i) { return layout.pages[static_cast<size_t>(i)]; });
}

QString paintPages(QPagedPaintDevice& device, int first, int last, const PageMaker& page)
{
    QPainter p;
    if (!p.begin(&device))
        return QStringLiteral("无法开始打印。");
    const double dotsPerMm = device.logicalDpiX() / 25.4;
    for (int i = first; i <= last; ++i) {
        if (i > first)
            device.newPage();
        paintReportPage(p, page(i), dotsPerMm);
    }
    return p.end() ? QString() : QStringLiteral("打印未能完成。");
}

QString writeReportPdf(const QString& path, const print::ReportLayout& layout, const print::PageSetup& page)
{
    const auto [first, last] = print::pageRange(page, static_cast<int>(layout.pages.size()));
    return writePdfPages(
        path, [&](QPdfWriter& pdf) { setReportPaper(pdf, layout, page); }, first,
        std::min(last, static_cast<int>(layout.pages.size()) - 1), [&](int i) { return layout.pages[static_cast<size_t>(i)]; });
}

QString writePdfPages(const QString& path, const std::function<void(QPdfWriter&)>& setPaper, int first, int last,
                      const PageMaker& page)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QString err;
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(300);
        pdf.setCreator(QStringLiteral("人事工资管理系统"));
        setPaper(pdf);
        err = paintPages(pdf, first, last, page);
    }
    if (!err.isEmpty()) {
        file.cancelWriting();
        return err;
    }
    return file.commit() ? QString() : file.errorString();
}

}  // namespace rsgz::print
