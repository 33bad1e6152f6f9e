#pragma once
#include <QFont>
#include <QString>
#include <functional>

#include "print/ReportDefinition.h"
#include "print/ReportPages.h"

class QPaintDevice;
class QPainter;
class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;

namespace rsgz::print {

// Paints the computed pages of a report. The screen, the printer and the PDF writer all go
// through paintReportPage, so what the preview shows is what comes out.

QFont reportFont(const print::FontSpec& f);
// The font (its pixel size set) made smaller, a step at a time, until the text fits the width in
// device pixels; as it was when it fits already. The smallest is one pixel.
QFont fittedFont(QFont font, const QString& text, double width, QPaintDevice* device);
// Paints one page with the painter's origin at the paper's top left corner; dotsPerMm is the
// device's resolution.
void paintReportPage(QPainter& p, const print::ReportPage& page, double dotsPerMm);
// Sets the device's paper to the report's page (no margins: the report places its own).
void setReportPaper(QPagedPaintDevice& device, const print::ReportLayout& layout, const print::PageSetup& page);
// Paints pages first..last (0-based) as one job. Returns an empty string or the reason it failed.
QString paintReport(QPagedPaintDevice& device, const print::ReportLayout& layout, int first, int last);
// The same for pages made one at a time (0-based index), so a long job is never held whole.
using PageMaker = std::function<print::ReportPage(int index)>;
QString paintPages(QPagedPaintDevice& device, int first, int last, const PageMaker& page);
// Writes pages first..last to a PDF file as one job, through a temporary file renamed at the end;
// setPaper gives the writer its paper before the first page.
QString writePdfPages(const QString& path, const std::function<void(QPdfWriter&)>& setPaper, int first, int last,
                      const PageMaker& page);
// Writes the pages of the page range to a PDF file, as one job, through a temporary file renamed at the end.
QString writeReportPdf(const QString& path, const print::ReportLayout& layout, const print::PageSetup& page);

}  // namespace rsgz::print
