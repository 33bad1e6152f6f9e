#include "query/windows/Tcxzdw.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "widgets/WindowStyle.h"

namespace rsgz::query {

namespace {
QPushButton* button(const QString& text, const QString& name, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}
}  // namespace

Tcxzdw::Tcxzdw(query::TreeQueries& trees, int module, QWidget* parent) : QDialog(parent), def_(trees, module)
{
    setObjectName(QStringLiteral("Tcxzdw"));
    setWindowTitle(QStringLiteral("查询字段定义窗口"));
    chosen_ = new QListWidget(this);
    chosen_->setObjectName(QStringLiteral("chosenList"));
    candidates_ = new QListWidget(this);
    candidates_->setObjectName(QStringLiteral("candidateList"));
    for (QListWidget* l : {chosen_, candidates_}) l->setMinimumSize(180, 300);
    for (const std::string& c : def_.candidates()) candidates_->addItem(QString::fromStdString(c));
    showChosen(-1);

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    const struct {
        const char* text;
        const char* name;
    } steps[] = {{"←", "addButton"}, {"→", "removeButton"}, {"↑", "upButton"}, {"↓", "downButton"}, {"清空", "clearButton"}};
    QPushButton* made[5];
    for (int i = 0; i < 5; ++i) {
        made[i] = button(QString::fromUtf8(steps[i].text), QString::fromUtf8(steps[i].name), this);
        made[i]->setFixedWidth(64);
        middle->addWidget(made[i]);
    }
    middle->addStretch();
    connect(made[0], &QPushButton::clicked, this, &Tcxzdw::addSelected);
    connect(candidates_, &QListWidget::itemDoubleClicked, this, &Tcxzdw::addSelected);
    connect(made[1], &QPushButton::clicked, this, [this] { run(&query::QueryDefinition::remove); });
    connect(made[2], &QPushButton::clicked, this, [this] { run(&query::QueryDefinition::moveUp); });
    connect(made[3], &QPushButton::clicked, this, [this] { run(&query::QueryDefinition::moveDown); });
    connect(made[4], &QPushButton::clicked, this, [this] {
        def_.clear();
        showChosen(-1);
    });

    QPushButton* save = button(QStringLiteral("保存"), QStringLiteral("saveButton"), this);
    QPushButton* rebuild = button(QStringLiteral("重生列表"), QStringLiteral("rebuildButton"), this);
    QPushButton* back = button(QStringLiteral("返回"), QStringLiteral("returnButton"), this);
    connect(save, &QPushButton::clicked, this, [this] { app::runAction([this] { def_.save(); }); });
    connect(rebuild, &QPushButton::clicked, this, [this] { app::runAction([this] { def_.regenerate(); }); });
    connect(back, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("列表窗口检索顺序"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("数据资料所有字段"), this), 0, 2);
    grid->addWidget(chosen_, 1, 0);
    grid->addLayout(middle, 1, 1);
    grid->addWidget(candidates_, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {save, rebuild, back}) buttons->addWidget(b);
    grid->addLayout(buttons, 2, 0, 1, 3);
    widgets::finishDialog(this);
}

void Tcxzdw::addSelected()
{
    const QListWidgetItem* item = candidates_->currentItem();
    if (item && def_.add(item->text().toStdString())) showChosen(chosen_->count());
}

void Tcxzdw::run(int (query::QueryDefinition::*step)(int))
{
    showChosen((def_.*step)(chosen_->currentRow()));
}

void Tcxzdw::showChosen(int selected)
{
    chosen_->clear();
    for (const std::string& c : def_.chosen()) chosen_->addItem(QString::fromStdString(c));
    if (selected >= 0 && selected < chosen_->count()) chosen_->setCurrentRow(selected);
}

}  // namespace rsgz::query
