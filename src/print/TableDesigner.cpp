#include "print/TableDesigner.h"

#include "app/Interaction.h"
#include "print/NumberFormat.h"
#include "print/TablePages.h"

namespace rsgz::print {

namespace {
const char* const kChooseField = "请在右边的列表中选择一个字段！";
}

int TableDesigner::addTitle(const std::string& text)
{
    if (text.empty()) return -1;
    if (static_cast<int>(layout_.titles.size()) >= TableLayout::kMaxTitles) {
        app::interaction().showMessage("最多只能设置 " + std::to_string(TableLayout::kMaxTitles) + " 个标题！");
        return -1;
    }
    // A new title starts from the default font and place, never from what a deleted one left.
    layout_.titles.push_back(TableLayout::defaultTitle(text));
    return static_cast<int>(layout_.titles.size()) - 1;
}

void TableDesigner::replaceTitle(int index, const std::string& text)
{
    if (index < 0 || index >= static_cast<int>(layout_.titles.size()) || text.empty()) return;
    layout_.titles[static_cast<size_t>(index)].text = fitToCapacity(text, capacity::kTitleText);
}

int TableDesigner::deleteTitle(int index)
{
    auto& t = layout_.titles;
    if (index < 0 || index >= static_cast<int>(t.size())) return -1;
    t.erase(t.begin() + index);
    return t.empty() ? -1 : std::min(index, static_cast<int>(t.size()) - 1);
}

int TableDesigner::addColumn(const std::string& item)
{
    if (item.empty()) return -1;
    if (static_cast<int>(layout_.columns.size()) >= TableLayout::kMaxColumns) {
        app::interaction().showMessage("最多只能打印 " + std::to_string(TableLayout::kMaxColumns) + " 列！");
        return -1;
    }
    layout_.columns.push_back(TableLayout::defaultColumn(item));
    return static_cast<int>(layout_.columns.size()) - 1;
}

int TableDesigner::moveUp(int index)
{
    if (index <= 0 || index >= static_cast<int>(layout_.columns.size())) {
        app::interaction().showMessage("无法移动！");
        return index;
    }
    std::swap(layout_.columns[static_cast<size_t>(index)], layout_.columns[static_cast<size_t>(index - 1)]);
    return index - 1;
}

int TableDesigner::moveDown(int index)
{
    if (index < 0 || index >= static_cast<int>(layout_.columns.size())) {
        app::interaction().showMessage(kChooseField);
        return index;
    }
    if (index + 1 == static_cast<int>(layout_.columns.size())) return index;
    std::swap(layout_.columns[static_cast<size_t>(index)], layout_.columns[static_cast<size_t>(index + 1)]);
    return index + 1;
}

int TableDesigner::deleteColumn(int index)
{
    auto& c = layout_.columns;
    if (index < 0 || index >= static_cast<int>(c.size())) {
        app::interaction().showMessage(kChooseField);
        return index;
    }
    c.erase(c.begin() + index);
    return c.empty() ? -1 : std::min(index, static_cast<int>(c.size()) - 1);
}

bool TableDesigner::setNumber(int& field, const std::string& text)
{
    int v = 0;
    if (!parseWholeNumber(text, &v)) {
        app::interaction().showMessage("请输入数字！");
        return false;
    }
    field = v;
    return true;
}

bool TableDesigner::setWidth(int index, const std::string& text)
{
    if (index < 0 || index >= static_cast<int>(layout_.columns.size())) return false;
    return setNumber(layout_.columns[static_cast<size_t>(index)].width, text);
}

bool TableDesigner::mayClose()
{
    const std::string problem = layoutProblem(layout_);
    if (problem.empty()) return true;
    app::interaction().showMessage(problem);
    return false;
}

}  // namespace rsgz::print
