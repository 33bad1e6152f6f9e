#include "personnel/windows/Tselectwpw.h"

#include <QLabel>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "widgets/ButtonRow.h"
#include "widgets/DataSetGrid.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

Tselectwpw::Tselectwpw(app::TDM& dm, QWidget* parent) : QDialog(parent), picker_(dm)
{
    setObjectName(QStringLiteral("Tselectwpw"));
    setWindowTitle(QStringLiteral("选择物品"));
    app::runAction([this] { picker_.activate(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("物品列表"), this));
    auto* grid = new widgets::DataSetGrid(&dm.wpdj, false, this);
    grid->setObjectName(QStringLiteral("articles"));
    grid->dataModel()->setVisibleFields({"序号", "物品名称", "单价", "数量", "剩余", "备注"});
    connect(grid, &QAbstractItemView::doubleClicked, this, [this] { pick(); });
    layout->addWidget(grid, 1);
    auto* buttons = widgets::makeButtonRow(this, {
        {"cancelButton", "取消", [this] { reject(); }},
        {"okButton", "确定", [this] { pick(); }},
        {"returnButton", "返回", [this] { pick(); }},
    });
    buttons->insertStretch(0);
    layout->addLayout(buttons);
    widgets::finishListDialog(this, 600, 400);
}

void Tselectwpw::pick()
{
    picker_.choose();
    accept();
}

void Tselectwpw::reject()
{
    picker_.cancel();
    QDialog::reject();
}

}  // namespace rsgz::personnel
