#include "widgets/ButtonRow.h"
#include "payroll/windows/TaxListPanel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include "widgets/DataSetModel.h"
#include "widgets/GridLink.h"

namespace rsgz::payroll {

namespace {

// A drop-down of the values a column takes; the user may still type another, which the list's
// check then refuses with its own words.
class ChoiceDelegate : public QStyledItemDelegate {
public:
    ChoiceDelegate(QStringList choices, QObject* parent) : QStyledItemDelegate(parent), choices_(std::move(choices)) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* box = new QComboBox(parent);
        box->setEditable(true);
        box->addItems(choices_);
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        static_cast<QComboBox*>(editor)->setCurrentText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
    }

private:
    QStringList choices_;
};

QPushButton* button(const char* text, QWidget* parent, const std::function<void()>& action)
{
    return widgets::makeButton(text, parent, action);
}

}  // namespace

TaxListPanel::TaxListPanel(payroll::TaxListForm& form, QWidget* parent) : QWidget(parent), form_(form)
{
    setObjectName(QString::fromStdString(form.setup().table));
    model_ = new widgets::DataSetModel(&form.dataSet(), this);
    QStringList fields;
    for (const std::string& c : form.setup().columns) fields << QString::fromStdString(c);
    model_->setVisibleFields(fields);
    grid_ = widgets::makeEditGrid(model_, this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->horizontalHeader()->setStretchLastSection(true);
    buttons_ = new QHBoxLayout;
    buttons_->addStretch();
    // Without the right the buttons are off; the list itself refuses whatever else tries to write.
    const bool may = form.dataSet().mayChange();
    for (auto [text, step] : {std::pair<const char*, void (payroll::TaxListForm::*)()>{"添加", &payroll::TaxListForm::add},
                              {"删除", &payroll::TaxListForm::remove},
                              {"保存", &payroll::TaxListForm::save}}) {
        QPushButton* b = button(text, this, [this, step] { (form_.*step)(); });
        b->setEnabled(may);
        buttons_->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons_);
}

void TaxListPanel::setChoices(const QString& column, const QStringList& choices)
{
    const int c = static_cast<int>(form_.setup().columns.size());
    for (int i = 0; i < c; ++i)
        if (QString::fromStdString(form_.setup().columns[static_cast<size_t>(i)]) == column)
            grid_->setItemDelegateForColumn(i, new ChoiceDelegate(choices, grid_));
}

void TaxListPanel::setTitle(const QString& column, const QString& title) { model_->setTitle(column, title); }

void TaxListPanel::addButton(QWidget* b) { buttons_->insertWidget(1, b); }

}  // namespace rsgz::payroll
