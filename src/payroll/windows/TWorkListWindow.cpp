#include "payroll/windows/TWorkListWindow.h"

#include <algorithm>

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "db/DataSet.h"
#include "widgets/ButtonRow.h"
#include "widgets/DataSetNavigator.h"
#include "widgets/RecordFields.h"
#include "widgets/WindowStyle.h"

namespace rsgz::payroll {

namespace {

constexpr int kRowsPerColumn = 8;

bool listed(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

// Quantities, hours, prices and the computed amounts follow the "0.00" pattern of the list.
bool isNumber(const WorkListKind& kind, const db::DataSet& ds, const std::string& field)
{
    if (listed(kind.quantities, field) || listed(kind.computed, field)) return true;
    const int i = ds.active() ? ds.fieldIndex(field) : -1;
    return i >= 0 && ds.field(i).type == db::FieldType::Currency;
}

}  // namespace

TWorkListWindow::TWorkListWindow(app::TDM& dm, const WorkListKind& kind, const char* objectName, QWidget* parent)
    : widgets::ActivatedDialog(parent), form_(dm, kind)
{
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(QString::fromStdString(kind.caption));
    db::DataSet& ds = form_.list();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(widgets::makeDataSetNavigator(this, ds));
    QHBoxLayout* buttons = widgets::makeButtonRow(this, {
        {"add", "添加", [this] { add(); }},
        {"delete", "删除", [this] { app::runAction([this] { form_.remove(); }); }},
        {"save", "保存", [this] { app::runAction([this] { form_.save(); }); }},
        {"cancel", "取消", [this] { app::runAction([this] { form_.cancel(); }); }},
        {"close", "返回", [this] { reject(); }},
    });
    for (const char* name : {"add", "delete", "save", "cancel"})
        findChild<QPushButton*>(QString::fromUtf8(name))->setEnabled(form_.mayChange());
    layout->addLayout(buttons);
    auto* area = new QWidget(this);
    buildFields(area);
    layout->addWidget(area);
    layout->addStretch();
    fields_->show();
    // A row the page began (its 增加) is new like one begun here.
    if (ds.state() == db::DataSet::State::Insert) pending_.remember(ds);
    widgets::finishDialog(this);
}

void TWorkListWindow::add()
{
    app::runAction([this] { form_.add(); });
    pending_.remember(form_.list());
}

// An empty list has no row to show: the window begins the first one once it is on the screen, so
// the employee picker opens over it.
void TWorkListWindow::activateOnce()
{
    const db::DataSet& ds = form_.list();
    if (ds.active() && ds.isEmpty() && !ds.isEditing() && form_.mayChange())
        QTimer::singleShot(0, this, [this] { add(); });
}

void TWorkListWindow::buildFields(QWidget* area)
{
    auto* grid = new QGridLayout(area);
    fields_ = new widgets::RecordFields(form_.dm(), form_.list(), area);
    const std::vector<std::string>& names = form_.kind().fields;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        using K = app::EditorFieldKind;
        const K kind = !form_.editable(name) ? K::ReadOnly : name == "日期" ? K::Date : K::Text;
        const int col = static_cast<int>(i) / kRowsPerColumn * 2, row = static_cast<int>(i) % kRowsPerColumn;
        grid->addWidget(new QLabel(QString::fromStdString(name), area), row, col);
        QWidget* box = fields_->add(name, kind);
        box->setMinimumWidth(140);
        if (isNumber(form_.kind(), form_.list(), name)) fields_->setNumberPattern(name);
        if (kind == K::ReadOnly) box->setStyleSheet(QStringLiteral("QLineEdit { background: palette(button); }"));
        grid->addWidget(box, row, col + 1);
    }
    // Enter goes on to the next box, from the last back to the first.
    fields_->setEnter([names](const std::string& column) {
        const auto it = std::find(names.begin(), names.end(), column);
        return it == names.end() || it + 1 == names.end() ? names.front() : *(it + 1);
    });
}

// 返回 and Esc: an untouched new row is dropped, a changed one is asked about.
void TWorkListWindow::reject()
{
    db::DataSet& ds = form_.list();
    bool settled = true;
    app::runAction([&] { settled = pending_.settle(ds, [&] { ds.post(); }); });
    if (settled) QDialog::reject();
}

}  // namespace rsgz::payroll
