#include "personnel/windows/Tkhflzdw.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "widgets/ButtonRow.h"
#include "widgets/WindowStyle.h"

namespace rsgz::personnel {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
constexpr int kColumnWidth = 180;
}  // namespace

Tkhflzdw::Tkhflzdw(app::TDM& dm, int level, const app::DepartmentPath& upper, QWidget* parent)
    : QDialog(parent), form_(dm, level, upper)
{
    setObjectName(QStringLiteral("Tkhflzdw"));
    setWindowTitle(QStringLiteral("部门分类字典编辑"));

    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("departmentGrid"));
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->verticalHeader()->setDefaultSectionSize(24);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->setColumnCount(level);
    QStringList titles;
    for (const std::string& c : form_.columns()) titles << q(c);
    grid_->setHorizontalHeaderLabels(titles);
    for (int c = 0; c < level; ++c) grid_->setColumnWidth(c, kColumnWidth);
    grid_->setMinimumSize(kColumnWidth * level + 60, 320);
    connect(grid_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (showing_ || item->column() != form_.level() - 1) return;
        form_.setName(item->row(), item->text().toStdString());
    });
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (!showing_) form_.current = row;
    });

    auto* hint = new QLabel(QStringLiteral("提示: 软件自动填写的内容请不要修改!"), this);
    hint->setObjectName(QStringLiteral("hint"));
    hint->setStyleSheet(QStringLiteral("color: #c00000;"));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(widgets::makeButtonRow(this, {
        {"addButton", "添加", [this] {
             run([this] { form_.add(); });
             editNewEntry();
         }},
        {"deleteButton", "删除", [this] { run([this] { form_.remove(); }); }},
        {"saveButton", "保存", [this] { run([this] { form_.save(); }); }},
        {"returnButton", "返回", [this] { run([this] { form_.close(); }); }},
    }));
    layout->addWidget(grid_, 1);
    layout->addWidget(hint);
    app::runAction([this] { form_.load(); });
    showEntries();
    widgets::finishDialog(this);
    layout->setSizeConstraint(QLayout::SetDefaultConstraint);
}

void Tkhflzdw::run(const std::function<void()>& step)
{
    app::runAction(step);
    showEntries();
    if (form_.closed) accept();
}

void Tkhflzdw::showEntries()
{
    showing_ = true;
    const auto& entries = form_.entries();
    const int level = form_.level();
    grid_->setRowCount(static_cast<int>(entries.size()));
    for (int r = 0; r < static_cast<int>(entries.size()); ++r) {
        for (int c = 0; c < level; ++c) {
            auto* item = new QTableWidgetItem(q(entries[static_cast<size_t>(r)].path[static_cast<size_t>(c)]));
            if (c < level - 1) {
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
                item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            }
            grid_->setItem(r, c, item);
        }
    }
    if (form_.current >= 0) grid_->setCurrentCell(form_.current, level - 1);
    showing_ = false;
}

void Tkhflzdw::editNewEntry()
{
    if (form_.current < 0) return;
    QTableWidgetItem* item = grid_->item(form_.current, form_.level() - 1);
    if (!item) return;
    grid_->setFocus();
    grid_->editItem(item);
}

void Tkhflzdw::reject()
{
    form_.close();
    QDialog::reject();
}

}  // namespace rsgz::personnel
