#include "personnel/windows/Tddglw.h"

#include <QComboBox>
#include <QAbstractButton>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "app/DepartmentLists.h"
#include "widgets/ButtonRow.h"
#include "widgets/DataSetNavigator.h"
#include "widgets/ListGroup.h"
#include "widgets/PickerFields.h"
#include "widgets/RecordFields.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

namespace {
std::string afterColumn(int level) { return std::string("调动后") + app::departmentColumn(level); }
}  // namespace

Tddglw::Tddglw(app::TDM& dm, QWidget* parent)
    : widgets::RecordDialog(parent), transfers_(dm), fields_(new widgets::RecordFields(dm, transfers_.dataSet(), this))
{
    setObjectName(QStringLiteral("Tddglw"));
    setWindowTitle(QStringLiteral("调动数据管理"));
    QHBoxLayout* row = widgets::makeDataSetNavigator(this, transfers_.dataSet());
    for (int i = 0; i < row->count(); ++i)
        if (QWidget* b = row->itemAt(i)->widget())
            if (b->inherits("QToolButton"))
                connect(static_cast<QAbstractButton*>(b), &QAbstractButton::clicked, this, [this] { refreshDepartments(); });
    row->addSpacing(12);
    auto step = [this](void (TransferManagement::*f)()) { return [this, f] { run([this, f] { (transfers_.*f)(); }); }; };
    row->addLayout(widgets::makeButtonRow(this, {{"addButton", "增加", step(&TransferManagement::add)},
                                            {"saveButton", "保存", step(&TransferManagement::save)},
                                            {"deleteButton", "删除", step(&TransferManagement::remove)},
                                            {"personButton", "选择被调动人", step(&TransferManagement::pickPerson)},
                                            {"handlerButton", "选择经办人", step(&TransferManagement::pickHandler)},
                                            {"approverButton", "选择批准人", step(&TransferManagement::pickApprover)},
                                            {"returnButton", "返回", [this] { reject(); }}}),
                   1);
    widgets::enableButtons(this, {"addButton", "saveButton", "deleteButton"}, transfers_.mayChange());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(widgets::makeFieldPage(this, *fields_, TransferManagement::fields(), 2), 1);
    std::vector<QComboBox*> boxes;
    for (int level = 1; level <= app::kDepartmentLevels; ++level) boxes.push_back(fields_->box(afterColumn(level)));
    departments_ = new widgets::DepartmentBoxes(dm, boxes, this);
    widgets::finishListDialog(this, 760, 560);
}

void Tddglw::activateOnce()
{
    run([this] { transfers_.activate(); });
    fields_->refreshLists();
}

bool Tddglw::leave() { return fields_->commitTyped() && transfers_.close(); }

void Tddglw::showAfterStep()
{
    fields_->show();
    refreshDepartments();
}

void Tddglw::refreshDepartments()
{
    const db::DataSet& ds = transfers_.dataSet();
    app::DepartmentPath stored;
    for (int level = 1; level <= app::kDepartmentLevels; ++level)
        if (ds.active() && ds.currentRow() >= 0)
            stored[static_cast<size_t>(level - 1)] = ds.asString(afterColumn(level));
    departments_->refresh(stored);
}

}  // namespace rsgz::personnel
