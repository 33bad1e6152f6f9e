#include "personnel/windows/Tjbzlw.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "widgets/ButtonRow.h"
#include "widgets/DataSetGrid.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

Tjbzlw::Tjbzlw(app::TDM& dm, QWidget* parent) : widgets::ActivatedDialog(parent), form_(dm)
{
    setObjectName(QStringLiteral("Tjbzlw"));
    setWindowTitle(QStringLiteral("基本资料设置"));

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("keyTree"));
    tree_->setHeaderHidden(true);
    tree_->setRootIsDecorated(false);
    tree_->setFixedWidth(180);
    connect(tree_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        const int node = tree_->indexOfTopLevelItem(item);
        run([this, node] { form_.clickNode(node); });
    });

    grid_ = new widgets::DataSetGrid(&form_.dataSet(), true, this);
    grid_->setObjectName(QStringLiteral("settingsGrid"));
    grid_->dataModel()->setVisibleFields({QStringLiteral("字典内容")});
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->setMinimumSize(320, 360);

    auto* middle = new QHBoxLayout;
    middle->addWidget(tree_);
    middle->addWidget(grid_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(widgets::makeButtonRow(this, {
        {"addButton", "增加", [this] {
             run([this] { form_.add(); });
             grid_->editCurrent(QStringLiteral("字典内容"));
         }},
        {"saveButton", "保存", [this] { run([this] { form_.save(); }); }},
        {"deleteButton", "删除", [this] { run([this] { form_.remove(); }); }},
        {"returnButton", "返回", [this] { run([this] { form_.close(); }); }},
    }));
    layout->addLayout(middle, 1);
    widgets::finishDialog(this);
    layout->setSizeConstraint(QLayout::SetDefaultConstraint);
}

void Tjbzlw::activateOnce()
{
    app::runAction([this] { form_.activate(); });
    showForm();
}

void Tjbzlw::run(const std::function<void()>& step)
{
    app::runAction(step);
    showForm();
    if (form_.closed) accept();
}

void Tjbzlw::showForm()
{
    if (tree_->topLevelItemCount() != static_cast<int>(form_.keys.size())) {
        tree_->clear();
        for (const std::string& key : form_.keys) tree_->addTopLevelItem(new QTreeWidgetItem(QStringList{q(key)}));
    }
    tree_->setCurrentItem(form_.selectedNode >= 0 ? tree_->topLevelItem(form_.selectedNode) : nullptr);
    grid_->dataModel()->setTitle(QStringLiteral("字典内容"), form_.gridTitle.empty() ? QStringLiteral("字典内容") : q(form_.gridTitle));
}

void Tjbzlw::reject()
{
    form_.close();
    QDialog::reject();
}

}  // namespace rsgz::personnel
