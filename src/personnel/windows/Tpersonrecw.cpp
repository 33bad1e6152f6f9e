#include "personnel/windows/Tpersonrecw.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "widgets/ButtonRow.h"
#include "widgets/GridLink.h"
#include "widgets/ListGroup.h"
#include "widgets/RecordFields.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

Tpersonrecw::Tpersonrecw(app::TDM& dm, const PersonRecordSetup& setup, QWidget* parent)
    : widgets::RecordDialog(parent), records_(dm, setup), fields_(new widgets::RecordFields(dm, records_.dataSet(), this))
{
    setObjectName(QString::fromStdString(setup.editor.windowClass));
    setWindowTitle(QString::fromStdString(setup.editor.caption));
    app::RecordEditor& editor = records_.editor();
    fields_->setEnter([&editor](const std::string& c) { return editor.enter(c); });

    auto* row = new QHBoxLayout;
    auto move = [this](void (app::RecordEditor::*step)()) {
        return [this, step] { run([this, step] { (records_.editor().*step)(); }); };
    };
    widgets::addNavigatorButtons(row, this, {"第一条记录", "前一条记录", "后一条记录", "最后一条记录"},
                            {move(&app::RecordEditor::first), move(&app::RecordEditor::prior), move(&app::RecordEditor::next),
                             move(&app::RecordEditor::last)});
    for (int i = 0; i < 4; ++i) browse_[static_cast<size_t>(i)] = qobject_cast<QToolButton*>(row->itemAt(i)->widget());
    row->addSpacing(12);
    std::vector<widgets::ButtonSpec> buttons = {
        {"addButton", "增加", [this] { run([this] { records_.add(); }); }},
        {"saveButton", "保存", [this] { run([this] { records_.save(); }); }},
        {"deleteButton", "删除", [this] { run([this] { records_.remove(); }); }},
        {"personButton", setup.personPicker.c_str(), [this] { run([this] { records_.pickPerson(); }); }},
    };
    if (!setup.approverPicker.empty())
        buttons.push_back({"approverButton", setup.approverPicker.c_str(), [this] { run([this] { records_.pickApprover(); }); }});
    buttons.push_back({"returnButton", "返回", [this] { reject(); }});
    row->addLayout(widgets::makeButtonRow(this, buttons), 1);

    const bool may = records_.mayChange();
    widgets::enableButtons(this, {"addButton", "saveButton", "deleteButton"}, may);
    widgets::enableButtons(this, {"personButton"}, records_.personButtonEnabled());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(widgets::makeFieldPage(this, *fields_, setup.editor.fields, 2), 1);
    widgets::finishListDialog(this, 720, 460);
}

void Tpersonrecw::activateOnce()
{
    run([this] { records_.activate(); });
    fields_->refreshLists();
    fields_->focusFirstEditable();
}

bool Tpersonrecw::leave() { return fields_->commitTyped() && records_.close(); }

void Tpersonrecw::showAfterStep()
{
    fields_->show();
    const app::BrowseState& s = records_.editor().browse;
    const bool on[4] = {s.first, s.prior, s.next, s.last};
    for (int i = 0; i < 4; ++i)
        if (browse_[static_cast<size_t>(i)]) browse_[static_cast<size_t>(i)]->setEnabled(on[i]);
}

}  // namespace rsgz::personnel
