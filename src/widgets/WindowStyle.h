#pragma once
#include <QString>

class QDialog;
class QLabel;
class QWidget;

namespace rsgz::widgets {

// Shared window conventions: every window but the main one is modal, fixed in size where it has
// no grid, and centred on the screen.
void centreOnScreen(QWidget* w);
void finishDialog(QDialog* d);
// The same for a window over a list of any length: modal and centred, but resizable from the given size.
void finishListDialog(QDialog* d, int width, int height);
// The red prompt text of the notice and question windows; CR or LF start new lines.
QLabel* makePromptLabel(const QString& text, QWidget* parent);

}  // namespace rsgz::widgets
