#include "print/ReportDefinition.h"

#include <algorithm>
#include <utility>

namespace rsgz::print {

namespace {

Band makeBand(std::string text, BandType type, Alignment alignment, FontSpec font)
{
    Band b;
    b.text = std::move(text);
    b.type = type;
    b.alignment = alignment;
    b.font = std::move(font);
    b.space = 2.0;
    return b;
}

std::pair<double, double> paperMm(const PageSetup& page)
{
    switch (page.size) {
    case PageSize::A3: return {297, 420};
    case PageSize::A5: return {148, 210};
    case PageSize::B4: return {250, 353};
    case PageSize::B5: return {176, 250};
    case PageSize::CSheet: return {431.8, 558.8};
    case PageSize::Custom: return {page.width, page.height};
    case PageSize::Executive: return {184.15, 266.7};
    case PageSize::Letter: return {215.9, 279.4};
    case PageSize::A4:
    case PageSize::Default: break;
    }
    return {210, 297};
}

}  // namespace

ReportDefinition defaultDefinition()
{
    ReportDefinition def;
    FontSpec title;
    title.name = "宋体";
    title.size = 16;
    title.bold = true;
    def.bands.push_back(makeBand("表格定义窗口标题", BandType::ReportTitle, Alignment::Center, title));
    def.bands.push_back(makeBand("页码[|#|]", BandType::PageFooter, Alignment::Right, FontSpec{}));
    return def;
}

void startNewDefinition(ReportDefinition& def)
{
    // A definition without bands still gets its title band, so the new file always has one.
    if (def.bands.empty())
        def.bands = defaultDefinition().bands;
    def.bands.front().text = "表格标题";
    def.columns.clear();
}

Column columnForField(const std::string& fieldName)
{
    Column c;
    c.fieldName = fieldName;
    c.title.text = {fieldName};
    return c;
}

// A custom paper is never taken smaller than a label, so a zero typed in the designer cannot
// make a page without room.
constexpr double kSmallestPaperMm = 20;

double pageWidthMm(const PageSetup& page)
{
    auto [w, h] = paperMm(page);
    return std::max(page.orientation == Orientation::Portrait ? w : h, kSmallestPaperMm);
}

double pageHeightMm(const PageSetup& page)
{
    auto [w, h] = paperMm(page);
    return std::max(page.orientation == Orientation::Portrait ? h : w, kSmallestPaperMm);
}

}  // namespace rsgz::print
