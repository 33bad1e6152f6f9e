#pragma once
#include <QImage>
#include <functional>
#include <QString>
#include <QStringList>

#include "print/CardPage.h"

class QFont;
class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace rsgz::print {

// Draws a record card computed by print::layoutCard on any device (the paper on the screen, a
// printer, a PDF file). The photograph is stretched into its box; without one the box stays empty.
void paintCard(QPainter& p, const print::CardPage& page, const QImage& photo);

// The résumé broken into lines at the box's width (device pixels) in the font it is drawn in, so
// that every line stays inside the box on the screen and on paper alike.
QStringList wrapResume(const QString& text, int width, const QFont& font, QPaintDevice* device);

// One card per step: prepare(i) makes card i the current one and returns what to draw. Pages are
// the definition's paper size. Empty when all were drawn, else why not.
struct CardPrintJob {
    int count = 0;
    int paperWidth = 2100, paperHeight = 2970;  // layout units
    std::function<std::pair<print::CardPage, QImage>(int card, print::CardScale scale)> prepare;
};
QString printCards(QPagedPaintDevice& device, const CardPrintJob& job);
// The same into a PDF file, written to a temporary file and renamed.
QString writeCardsPdf(const QString& path, const CardPrintJob& job);

}  // namespace rsgz::print
