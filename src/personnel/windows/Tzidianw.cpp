#include "personnel/windows/Tzidianw.h"

#include <QHeaderView>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "db/DataSet.h"
#include "widgets/ButtonRow.h"
#include "widgets/DataSetGrid.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

Tzidianw::Tzidianw(app::TDM& dm, QWidget* parent) : QDialog(parent), editor_(dm)
{
    setObjectName(QStringLiteral("Tzidianw"));
    setWindowTitle(QStringLiteral("字典管理"));
    grid_ = new widgets::DataSetGrid(&editor_.dataSet(), true, this);
    grid_->setObjectName(QStringLiteral("dictionaryGrid"));
    grid_->dataModel()->setVisibleFields({QStringLiteral("字段名称"), QStringLiteral("字典内容")});
    grid_->horizontalHeader()->setDefaultSectionSize(160);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setMinimumSize(380, 300);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(widgets::makeButtonRow(this, {
        {"addButton", "添加", [this] {
             run([this] { editor_.add(); });
             grid_->editCurrent(QStringLiteral("字典内容"));
         }},
        {"deleteButton", "删除", [this] { run([this] { editor_.remove(); }); }},
        {"saveButton", "保存", [this] { run([this] { editor_.save(); }); }},
        {"returnButton", "返回", [this] { run([this] { editor_.close(); }); }},
    }));
    layout->addWidget(grid_, 1);
    widgets::finishDialog(this);
    layout->setSizeConstraint(QLayout::SetDefaultConstraint);
}

void Tzidianw::run(const std::function<void()>& step)
{
    app::runAction(step);
    if (editor_.closed) accept();
}

void Tzidianw::reject()
{
    editor_.close();
    QDialog::reject();
}

}  // namespace rsgz::personnel
