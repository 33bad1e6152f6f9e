#pragma once
// Lists shown again are read afresh for what other clerks wrote meanwhile (app/OtherClerks.h):
// whenever a window of the program becomes active again, the lists it shows now.
#include <vector>

class QWidget;

namespace rsgz::db {
class DataSet;
}

namespace rsgz::widgets {

// Watches every window of the application from now on (installed once; later calls do nothing).
// A window's first activation is its opening, which reads its lists anyway; every later one
// re-reads what it shows, once the event loop the window runs in is idle again, so that nothing
// is read under work of the window that is still under way (a notice it shows, a window it opened).
void rereadListsOnActivation();

// The datasets a window shows now: those of its visible grids and of its record fields on a
// visible part of it, each once, in the order found.
std::vector<db::DataSet*> shownDataSets(QWidget* window);

// rereadForOtherClerks over shownDataSets(window).
void rereadShownLists(QWidget* window);

}  // namespace rsgz::widgets
