#pragma once
#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "app/DepartmentLists.h"

class QComboBox;
class QWidget;

namespace rsgz::widgets {

// Replaces a drop-down field's suggestions and keeps the text shown in it: a list is only ever a
// suggestion, and refilling it must never change what the record holds.
void setSuggestions(QComboBox* box, const std::vector<std::string>& items);

// Runs the action on a double-click on the widget (for an editable drop-down, pass the box: the
// click is caught on its text field). The pickers open this way.
void onDoubleClick(QWidget* w, std::function<void()> action);

// The linked department fields of a record window: three or four editable drop-down boxes, level 1
// first. Typing or choosing a name at level N refills the list of level N+1 from the names shown
// at levels 1..N; the texts of the lower boxes stay. A double-click on a box asks for the department
// editor of its level (the window opens it with the record's stored levels and then calls
// refresh()).
class DepartmentBoxes : public QObject {
    Q_OBJECT
public:
    DepartmentBoxes(app::TDM& dm, std::vector<QComboBox*> boxes, QObject* parent = nullptr);

    // Level 1 from every first-level name; the lower levels from the record's stored levels.
    void refresh(const app::DepartmentPath& stored);
    app::DepartmentPath shown() const;
    const app::DepartmentCascade& cascade() const { return cascade_; }

signals:
    void editorRequested(int level);

private:
    void showList(int level);

    app::DepartmentCascade cascade_;
    std::vector<QComboBox*> boxes_;
    bool filling_ = false;
};

}  // namespace rsgz::widgets
