#include "print/windows/CardPainter.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>

#include <cmath>

#include "print/PrintFonts.h"

namespace rsgz::print {

namespace {

QFont cardFont(const print::CardDefinition::Font& f, bool bold, QPaintDevice* device)
{
    QFont font(QString::fromStdString(print::installedFontFamily(f.name)));
    font.setPointSize(f.size);
    font.setBold(bold);
    return QFont(font, device);
}

QRect rect(const print::CardPage::Rect& r) { return {r.x, r.y, r.width, r.height}; }

void drawText(QPainter& p, int x, int y, const QString& text)
{
    p.drawText(QRect(x, y, 1 << 20, 1 << 20), Qt::AlignLeft | Qt::AlignTop, text);
}

}  // namespace

QStringList wrapResume(const QString& text, int width, const QFont& font, QPaintDevice* device)
{
    QStringList lines;
    for (const QString& paragraph : QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font, device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(std::max(width, 1));
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
        if (paragraph.isEmpty()) lines << QString();
    }
    return lines;
}

void paintCard(QPainter& p, const print::CardPage& page, const QImage& photo)
{
    p.save();
    QPen pen(Qt::black);
    pen.setWidth(std::max(page.framePen, 1));
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect(page.frame));
    pen.setWidth(std::max(page.linePen, 1));
    p.setPen(pen);
    for (const auto& l : page.lines) p.drawLine(l.x1, l.y1, l.x2, l.y2);
    if (page.photo && !photo.isNull()) p.drawImage(rect(page.photoBox), photo);
    for (const print::CardPage::Text& t : page.texts) {
        p.setFont(cardFont(t.font, t.bold, p.device()));
        drawText(p, t.x, t.y, QString::fromStdString(t.text));
    }
    if (page.resume) {
        const print::CardPage::Text& r = page.resumeText;
        const QFont font = cardFont(r.font, true, p.device());
        p.setFont(font);
        const QStringList lines = wrapResume(QString::fromStdString(r.text), page.resumeWrapWidth, font, p.device());
        for (int n = 0; n < lines.size(); ++n)
            drawText(p, r.x, r.y + static_cast<int>(std::nearbyint(page.resumeLineStep * n)), lines[n]);
    }
    p.restore();
}

QString printCards(QPagedPaintDevice& device, const CardPrintJob& job)
{
    device.setPageSize(QPageSize(QSizeF(job.paperWidth / 10.0, job.paperHeight / 10.0), QPageSize::Millimeter,
                                 QString(), QPageSize::ExactMatch));
    device.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p;
    if (!p.begin(&device)) return QStringLiteral("无法开始打印。");
    const print::CardScale scale = print::CardScale::printer(device.logicalDpiX(), device.logicalDpiY());
    for (int i = 0; i < job.count; ++i) {
        if (i > 0) device.newPage();
        const auto [page, photo] = job.prepare(i, scale);
        paintCard(p, page, photo);
    }
    return p.end() ? QString() : QStringLiteral("打印未能完成。");
}

QString writeCardsPdf(const QString& path, const CardPrintJob& job)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    QString err;
    {
        QPdfWriter pdf(&file);
        pdf.setResolution(300);
        pdf.setCreator(QStringLiteral("人事工资管理系统"));
        err = printCards(pdf, job);
    }
    if (!err.isEmpty()) {
        file.cancelWriting();
        return err;
    }
    return file.commit() ? QString() : file.errorString();
}

}  // namespace rsgz::print
