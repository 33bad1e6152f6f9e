#pragma once
#include <QDialog>
#include <array>
#include <functional>

#include "app/RecordEditor.h"

class QLabel;
class QToolButton;

namespace rsgz::ui {
class DepartmentBoxes;
class RecordFields;
}  // namespace rsgz::ui

namespace rsgz::personnel {

// The single-record editor window of one list of the employee window (个人简历编辑, 社会关系 …).
// Its behaviour is RecordEditor's; the set-up it is made from names the fields.
class Tunitw : public QDialog {
    Q_OBJECT
public:
    Tunitw(app::TDM& dm, const EditorSpec& setup, QWidget* parent = nullptr);
    ~Tunitw() override;
    RecordEditor& editor() { return editor_; }

protected:
    void showEvent(QShowEvent* e) override;
    void reject() override;

private:
    void run(const std::function<void()>& step);
    void showCourse();
    QWidget* withPersonButton(QWidget* field, const EditorField& f);

    app::TDM& dm_;
    RecordEditor editor_;
    ui::RecordFields* fields_;
    ui::DepartmentBoxes* departments_ = nullptr;
    std::array<QToolButton*, 4> browse_{};
    QLabel* course_ = nullptr;
    bool activated_ = false;
};

}  // namespace rsgz::personnel
