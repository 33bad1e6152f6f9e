#pragma once
#include <string>
#include <vector>

#include "print/TableLayout.h"

namespace rsgz::print {

// What the table designer 表格设计窗口 does to a layout, without its window: titles and printed
// columns by list position, and the numbers typed into its boxes. Every change is made in the
// layout at once; refusals are said to the user.
class TableDesigner {
public:
    // items: the candidates of 所有项目.
    TableDesigner(TableLayout& layout, std::vector<std::string> items) : layout_(layout), items_(std::move(items)) {}

    TableLayout& layout() { return layout_; }
    const std::vector<std::string>& items() const { return items_; }

    // Titles. Each returns the line to select afterwards (-1: none).
    int addTitle(const std::string& text);
    void replaceTitle(int index, const std::string& text);
    int deleteTitle(int index);

    // Printed columns.
    int addColumn(const std::string& item);
    int moveUp(int index);
    int moveDown(int index);
    int deleteColumn(int index);

    // A whole number typed into a box; "请输入数字！" and nothing stored when it is not one.
    bool setNumber(int& field, const std::string& text);
    bool setWidth(int index, const std::string& text);

    // Before the designer closes: a layout that cannot be printed is said and kept open.
    bool mayClose();

private:
    TableLayout& layout_;
    std::vector<std::string> items_;
};

}  // namespace rsgz::print
