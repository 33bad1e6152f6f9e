#include "personnel/windows/Tpxkcw.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "widgets/ButtonRow.h"
#include "widgets/DataSetGrid.h"
#include "widgets/DataSetNavigator.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

Tpxkcw::Tpxkcw(app::TDM& dm, QWidget* parent) : QDialog(parent), picker_(dm)
{
    setObjectName(QStringLiteral("Tpxkcw"));
    setWindowTitle(QStringLiteral("选择培训课程"));
    app::runAction([this] { picker_.activate(); });

    auto* layout = new QVBoxLayout(this);
    QHBoxLayout* top = widgets::makeDataSetNavigator(this, dm.pxkc);
    top->addLayout(widgets::makeButtonRow(this, {
        {"addButton", "增加", [this] {
             if (app::runAction([this] { picker_.add(); })) grid_->editCurrent(QStringLiteral("序号"));
         }},
        {"saveButton", "保存", [this] { app::runAction([this] { picker_.save(); }); }},
        {"deleteButton", "删除", [this] { app::runAction([this] { picker_.remove(); }); }},
        {"okButton", "确定", [this] {
             if (app::runAction([this] { picker_.choose(); })) accept();
         }},
        {"cancelButton", "取消", [this] { reject(); }},
    }));
    // Courses are training records: without 培训管理 they can be chosen, not changed.
    for (const char* name : {"addButton", "saveButton", "deleteButton"})
        findChild<QPushButton*>(QString::fromUtf8(name))->setEnabled(dm.pxkc.mayChange());
    top->addStretch(1);
    layout->addLayout(top);
    layout->addWidget(new QLabel(QStringLiteral("培训课程列表"), this));
    grid_ = new widgets::DataSetGrid(&dm.pxkc, true, this);
    grid_->setObjectName(QStringLiteral("courses"));
    grid_->dataModel()->setVisibleFields(
        {"序号", "培训名称", "培训内容", "开始日期", "结束日期", "培训单位", "培训总费用", "备注", "课程编号"});
    layout->addWidget(grid_, 1);
    widgets::finishListDialog(this, 820, 420);
}

void Tpxkcw::reject()
{
    picker_.cancel();
    QDialog::reject();
}

}  // namespace rsgz::personnel
