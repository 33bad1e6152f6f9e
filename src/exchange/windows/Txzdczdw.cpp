#include "exchange/windows/Txzdczdw.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

#include "widgets/WindowStyle.h"

namespace rsgz::exchange {

namespace {

QListWidget* listIn(const char* title, QHBoxLayout* row, QWidget* parent)
{
    auto* g = new QGroupBox(QString::fromUtf8(title), parent);
    auto* list = new QListWidget(g);
    list->setObjectName(QString::fromUtf8(title));
    (new QVBoxLayout(g))->addWidget(list);
    row->addWidget(g, 1);
    return list;
}

}  // namespace

Txzdczdw::Txzdczdw(ExportColumns& columns, QWidget* parent) : QDialog(parent), columns_(columns)
{
    setObjectName(QStringLiteral("Txzdczdw"));
    setWindowTitle(QStringLiteral("选择导出字段"));
    auto* row = new QHBoxLayout;
    offered_ = listIn("数据库所有字段", row, this);
    auto* buttons = new QVBoxLayout;
    row->addLayout(buttons);
    chosen_ = listIn("导出字段", row, this);
    for (const std::string& name : columns_.offered()) offered_->addItem(QString::fromStdString(name));

    const std::pair<const char*, std::function<void()>> actions[] = {
        {"添加", [this] { columns_.add(offered_->currentRow()); }},
        {"全选", [this] { columns_.addAll(); }},
        {"删除", [this] { columns_.remove(chosen_->currentRow()); }},
        {"全删除", [this] { columns_.removeAll(); }},
    };
    for (const auto& [text, act] : actions) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromUtf8(text));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, act = act] {
            act();
            showChosen();
        });
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    auto* back = new QPushButton(QStringLiteral("返回"), this);
    back->setObjectName(QStringLiteral("返回"));
    back->setAutoDefault(false);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(back);

    connect(offered_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        columns_.add(offered_->row(item));
        showChosen();
    });
    connect(chosen_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        columns_.remove(chosen_->row(item));
        showChosen();
    });
    (new QVBoxLayout(this))->addLayout(row);
    widgets::finishListDialog(this, 460, 480);
}

void Txzdczdw::showChosen()
{
    chosen_->clear();
    for (const std::string& name : columns_.chosen()) chosen_->addItem(QString::fromStdString(name));
}

}  // namespace rsgz::exchange
