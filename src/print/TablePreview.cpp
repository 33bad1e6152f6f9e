#include "print/TablePreview.h"

#include <QFile>
#include <QString>
#include <algorithm>
#include <map>

#include "app/Interaction.h"
#include "print/PaperLimits.h"

namespace rsgz::print {

namespace {

const std::map<std::string, std::pair<int, std::string>>& entries()
{
    static const std::map<std::string, std::pair<int, std::string>> m = {
        {"打印员工报表", {1, "员工报表.tbl"}},     {"打印人员培训表", {2, "员工培训报表.tbl"}},
        {"打印职称评定表", {3, "员工职称评定报表.tbl"}}, {"打印人员奖惩表", {4, "员工奖惩评定报表.tbl"}},
        {"打印人员调动表", {5, "员工调动报表.tbl"}}, {"打印人员考评表", {7, "员工考评报表.tbl"}},
        {"打印物品领用表", {8, "物品领用.tbl"}},     {"打印工资表", {11, "工资表.tbl"}},
        {"打印工资条", {11, "工资条.tbl"}},
    };
    return m;
}

}  // namespace

int tablePrintModule(const std::string& entry)
{
    const auto it = entries().find(entry);
    return it == entries().end() ? 0 : it->second.first;
}

std::string tableLayoutFile(const std::string& entry, const std::string& payrollSet)
{
    const auto it = entries().find(entry);
    if (it == entries().end()) return {};
    if (entry == "打印工资表") return (payrollSet.empty() ? std::string() : safeFileNamePart(payrollSet)) + it->second.second;
    return it->second.second;
}

std::string safeFileNamePart(const std::string& name)
{
    std::string out;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        out += (u < 0x20 || u == 0x7f || std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) ? '_' : c;
    }
    if (out.empty() || out.find_first_not_of('.') == std::string::npos) out = "_" + out;
    return out;
}

TablePreview::TablePreview(std::string programDir, std::string layoutFile, const TableSource& source,
                           std::vector<std::string> gridTitles)
    : programDir_(std::move(programDir)), layoutFile_(std::move(layoutFile)), source_(source),
      gridTitles_(std::move(gridTitles))
{
    layout_ = TableLayout::defaults(gridTitles_);
    rebuild();
}

bool TablePreview::useDefault(const std::string& why)
{
    const std::string path = layoutPath();
    const bool yes = app::interaction().ask("打印格式文件“" + layoutFile_ + "”无法使用：" + why +
                                            "\n是否改用默认格式？原文件将另存为“" + layoutFile_ + ".损坏”。");
    if (!yes) return false;
    const QString kept = QString::fromStdString(path + ".损坏");
    QFile::remove(kept);
    QFile::copy(QString::fromStdString(path), kept);
    layout_ = TableLayout::defaults(gridTitles_);
    return true;
}

bool TablePreview::open()
{
    if (QFile::exists(QString::fromStdString(layoutPath()))) {
        try {
            layout_ = TableLayout::read(layoutPath());
            if (const std::string problem = layoutProblem(layout_); !problem.empty() && !useDefault(problem)) return false;
        } catch (const LayoutFileError& e) {
            if (!useDefault(e.what())) return false;
        }
    }
    current_ = 1;
    placing_ = false;
    rebuild();
    // The layout file exists from the first preview on, as the user may look for it.
    return save();
}

bool TablePreview::save()
{
    try {
        layout_.write(layoutPath());
        return true;
    } catch (const LayoutFileError& e) {
        app::interaction().showMessage(e.what());
        return false;
    }
}

void TablePreview::rebuild()
{
    printer_ = std::make_unique<TablePrinter>(layout_, source_);
    current_ = std::clamp(current_, 1, std::max(1, printer_->pageCount()));
}

void TablePreview::priorPage()
{
    placing_ = false;
    if (current_ > 1) --current_;
}

void TablePreview::nextPage()
{
    placing_ = false;
    if (current_ < pageCount()) ++current_;
}

void TablePreview::goToPage(int page)
{
    placing_ = false;
    current_ = std::clamp(page, 1, std::max(1, pageCount()));
}

void TablePreview::refresh()
{
    placing_ = false;
    save();
}

void TablePreview::designed()
{
    rebuild();
    save();
    placing_ = true;
}

void TablePreview::moveTitle(int index, int x, int y)
{
    if (index < 0 || index >= static_cast<int>(layout_.titles.size())) return;
    // A title dragged far off the sheet stops where a layout file may still hold it.
    layout_.titles[static_cast<size_t>(index)].x = std::clamp(x, -kA0LongPixels, kA0LongPixels);
    layout_.titles[static_cast<size_t>(index)].y = std::clamp(y, -kA0LongPixels, kA0LongPixels);
}

std::vector<std::string> TablePreview::slipFileNames() const
{
    const int number = source_.fieldOf("员工编号"), name = source_.fieldOf("姓名");
    std::vector<std::string> out;
    std::map<std::string, int> seen;
    for (int r = 0; r < source_.rowCount(); ++r) {
        std::string base = (number >= 0 ? source_.text(r, number) : std::string()) + (name >= 0 ? source_.text(r, name) : std::string());
        base = safeFileNamePart(base.empty() ? "工资条" + std::to_string(r + 1) : base);
        const int n = ++seen[base];
        out.push_back(base + (n > 1 ? "_" + std::to_string(n) : std::string()) + ".pdf");
    }
    return out;
}

std::optional<std::pair<int, int>> TablePreview::askPrintRange()
{
    // Whatever an earlier print left behind must not decide this one: a closed window prints nothing.
    removePrintRange(programDir_);
    app::interaction().openWindow(app::WindowId::PrintRange);
    const std::optional<PrintRange> range = readPrintRange(programDir_);
    if (!range) return std::nullopt;
    const auto pages = range->pages(current_, pageCount());
    if (pages.first > pages.second) return std::nullopt;
    return pages;
}

}  // namespace rsgz::print
