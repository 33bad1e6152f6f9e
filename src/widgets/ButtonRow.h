#pragma once
#include <QString>
#include <functional>
#include <vector>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace rsgz::widgets {

// One push button of a window's button row: its object name (for tests), caption and action.
struct ButtonSpec {
    const char* objectName;
    const char* caption;
    std::function<void()> action;
};

// A row of push buttons, left-aligned, none of them the default button (Enter belongs to the grids
// and fields). The row's layout is returned so a window can add to it.
QHBoxLayout* makeButtonRow(QWidget* parent, const std::vector<ButtonSpec>& buttons);

// One such button on its own, its caption also its object name.
QPushButton* makeButton(const char* caption, QWidget* parent, const std::function<void()>& action,
                        const char* objectName = nullptr);

}  // namespace rsgz::widgets
