#pragma once

class QCoreApplication;
class QObject;

namespace rsgz::widgets {

// Enter on a focused push or tool button presses it, in every window of the program, as on the
// desktop our users come from (the toolkit alone leaves Enter to a window's default button). The
// filter is a child of the application; deleting the object returned takes it out again.
QObject* installEnterPressesButtons(QCoreApplication& app);

}  // namespace rsgz::widgets
