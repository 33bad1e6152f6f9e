#include "query/windows/Tzhcxw.h"
#include "app/Module.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "widgets/WindowStyle.h"

namespace rsgz::query {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QLabel* hintLabel(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setStyleSheet(QStringLiteral("color: #1f4e9c;"));
    return l;
}

}  // namespace

Tzhcxw::Tzhcxw(app::TDM& dm, query::ModuleQueries& queries, int module, QWidget* parent)
    : QDialog(parent), query_(dm, queries, module)
{
    setObjectName(QStringLiteral("Tzhcxw"));
    setWindowTitle(q(query_.kind().caption));
    app::runAction([this] { query_.load(); });

    auto* area = new QGroupBox(QStringLiteral("设置查询条件及内容"), this);
    auto* areaLayout = new QVBoxLayout(area);
    areaLayout->addWidget(buildBoxes());

    auto* run = new QPushButton(QStringLiteral("查询"), this);
    run->setObjectName(QStringLiteral("queryButton"));
    auto* clear = new QPushButton(QStringLiteral("清空所有"), this);
    clear->setObjectName(QStringLiteral("clearButton"));
    auto* close = new QPushButton(QStringLiteral("退出"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    for (QPushButton* b : {run, clear, close}) b->setAutoDefault(false);
    connect(run, &QPushButton::clicked, this, &Tzhcxw::runQuery);
    connect(clear, &QPushButton::clicked, this, &Tzhcxw::clearAll);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto* hints = new QVBoxLayout;
    hints->addWidget(hintLabel(QStringLiteral("支持模糊查询，可输入单字查询，不输入查询条件，显示全部数据！"), this));
    if (query_.kind().module != app::Module::Personnel) hints->addWidget(hintLabel(QStringLiteral("如查询日期，需填写完整"), this));
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(hints, 1);
    bottom->addWidget(run);
    bottom->addWidget(clear);
    bottom->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(area);
    layout->addLayout(bottom);
    widgets::finishDialog(this);
}

QWidget* Tzhcxw::buildBoxes()
{
    auto* boxes = new QWidget(this);
    auto* grid = new QGridLayout(boxes);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    const int perColumn = query_.kind().rowsPerColumn;
    const std::vector<query::QueryBox>& all = query_.boxes();
    for (size_t i = 0; i < all.size(); ++i) {
        const query::QueryBox& b = all[i];
        Row row;
        row.check = new QCheckBox(q(b.column), boxes);
        row.check->setObjectName(QStringLiteral("check_") + q(b.column));
        QWidget* editor = nullptr;
        if (b.dropDown) {
            row.combo = new QComboBox(boxes);
            row.combo->setEditable(true);
            for (const std::string& c : b.choices) row.combo->addItem(q(c));
            row.combo->setCurrentIndex(-1);
            row.combo->setEditText(QString());
            connect(row.combo, &QComboBox::editTextChanged, this, [this, i] { valueEdited(i); });
            editor = row.combo;
        } else {
            row.line = new QLineEdit(boxes);
            connect(row.line, &QLineEdit::textChanged, this, [this, i] { valueEdited(i); });
            editor = row.line;
        }
        editor->setObjectName(QStringLiteral("value_") + q(b.column));
        editor->setFixedWidth(130);
        const int r = static_cast<int>(i) % perColumn;
        const int c = static_cast<int>(i) / perColumn * 2;
        grid->addWidget(row.check, r, c);
        grid->addWidget(editor, r, c + 1);
        rows_.push_back(row);
    }
    if (all.empty()) grid->addWidget(new QLabel(QStringLiteral("没有可查询的字段。"), boxes), 0, 0);
    return boxes;
}

QString Tzhcxw::text(size_t box) const
{
    const Row& r = rows_[box];
    return r.combo ? r.combo->currentText() : r.line->text();
}

std::vector<std::string> Tzhcxw::texts() const
{
    std::vector<std::string> out;
    for (size_t i = 0; i < rows_.size(); ++i) out.push_back(text(i).toStdString());
    return out;
}

void Tzhcxw::valueEdited(size_t box)
{
    rows_[box].check->setChecked(!text(box).isEmpty());
    int next = -1;
    app::runAction([&] { next = query_.levelChanged(box, texts()); });
    if (next < 0) return;
    QComboBox* combo = rows_[static_cast<size_t>(next)].combo;
    if (!combo) return;
    // The list follows the level above; what the box shows stays until the user changes it.
    const QString shown = combo->currentText();
    const QSignalBlocker block(combo);
    combo->clear();
    for (const std::string& c : query_.boxes()[static_cast<size_t>(next)].choices) combo->addItem(q(c));
    combo->setCurrentIndex(-1);
    combo->setEditText(shown);
}

void Tzhcxw::runQuery()
{
    std::vector<std::string> values = texts();
    for (size_t i = 0; i < rows_.size(); ++i)
        if (!rows_[i].check->isChecked()) values[i].clear();
    app::runAction([&] { query_.run(values); });
}

void Tzhcxw::clearAll()
{
    for (Row& r : rows_) {
        if (r.combo) r.combo->setEditText(QString());
        else r.line->clear();
        r.check->setChecked(false);
    }
}

}  // namespace rsgz::query
