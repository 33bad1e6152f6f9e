#pragma once
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "app/RecordEditor.h"
#include "widgets/ButtonRow.h"

class QGroupBox;
class QTabWidget;
class QTableView;

namespace rsgz::db {
class DataSet;
}

namespace rsgz::widgets {

class DataSetGrid;
class RecordFields;

// One group of the windows over a master list and its detail list: a captioned box holding a
// navigator over the list, the group's buttons and its grid.
struct ListGroup {
    QGroupBox* box = nullptr;
    DataSetGrid* grid = nullptr;
    QTabWidget* pages = nullptr;  // only with an edit page
};

struct ListGroupSpec {
    QString title;            // the group box caption
    QString gridName;         // the grid's object name
    QStringList columns;      // the grid's columns in order
    bool editable = false;    // typing in the grid writes through the list
    std::function<void()> afterMove;  // runs after every navigator move (the detail list follows)
    // With an edit page the grid and the page are two tabs with these captions.
    QWidget* editPage = nullptr;
    QString listTab, editTab;
};

ListGroup makeListGroup(QWidget* parent, db::DataSet& ds, const ListGroupSpec& setup,
                        const std::vector<ButtonSpec>& buttons);

// The fields of a record laid out in pairs of caption and control, `columns` pairs a line (a memo
// takes a whole line). Controls come from fields (object name = column).
QWidget* makeFieldPage(QWidget* parent, RecordFields& fields, const std::vector<app::EditorField>& list,
                       int columns);

// Enter in the grid moves the cell focus to the next column (it stays on the last one).
void enterMovesToNextColumn(QTableView* grid);

// Money columns of the grid shown with the yuan sign ("￥85.50"); editing keeps the bare number.
void showWithYuanSign(DataSetGrid* grid, const QStringList& fields);

// Enables or disables the window's push buttons of these object names.
void enableButtons(QWidget* window, const std::vector<const char*>& objectNames, bool on);

}  // namespace rsgz::widgets
