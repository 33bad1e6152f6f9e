#pragma once
#include <array>
#include <map>
#include <memory>
#include <string>

#include "app/BrowseButtons.h"
#include "app/RecordWindowTable.h"
#include "widgets/RecordDialog.h"

class QLayout;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace rsgz::app {
class TDM;
}

namespace rsgz::widgets {

class DepartmentBoxes;
class RecordFields;

// A single-record window made from its table (app::RecordWindowTable) over its behaviour: the
// navigator and the buttons on top, the fields below, each bound to the behaviour's dataset. The
// navigator follows the dataset, a button is on when the operator holds its right and the
// behaviour agrees, a field takes typing when the dataset's right and the behaviour allow it, and
// the department fields are linked lists that follow the row.
// A window of its own derives from this only for parts the table does not describe. The table
// outlives the window (the tables are static).
class RecordWindow : public RecordDialog {
    Q_OBJECT
public:
    RecordWindow(app::TDM& dm, const app::RecordWindowTable& table, std::unique_ptr<app::RecordBehaviour> behaviour,
                 QWidget* parent = nullptr);
    ~RecordWindow() override;

    app::RecordBehaviour& behaviour() const { return *behaviour_; }
    RecordFields& fields() const { return *fields_; }
    QPushButton* button(const std::string& objectName) const;

protected:
    void activateOnce() override;
    bool leave() override;
    void showAfterStep() override;  // a window with parts of its own shows them after this
    // A part of the window's own below the fields (the window is sized and placed again).
    void addBelow(QWidget* part);

private:
    QLayout* layOutFields();
    QWidget* addField(const app::EditorField& f);
    void press(const app::RecordButton& b);
    QWidget* withPersonButton(QWidget* field, const app::EditorField& f);
    void linkDepartments();
    void showChoices();
    void showDepartments();
    void showButtons();

    app::TDM& dm_;
    const app::RecordWindowTable& table_;
    std::unique_ptr<app::RecordBehaviour> behaviour_;
    RecordFields* fields_;
    DepartmentBoxes* departments_ = nullptr;
    QVBoxLayout* body_ = nullptr;
    std::array<QToolButton*, 4> browse_{};
    app::BrowseButtons browseState_;
    std::map<std::string, QPushButton*> buttons_;
};

}  // namespace rsgz::widgets
