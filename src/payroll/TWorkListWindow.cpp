#include "payroll/TWorkListWindow.h"

#include <algorithm>

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Interaction.h"
#include "db/DataSet.h"
#include "ui/ButtonRow.h"
#include "ui/DataSetNavigator.h"
#include "ui/RecordFields.h"
#include "ui/WindowStyle.h"

namespace rsgz::payroll {

namespace {
constexpr int kRowsPerColumn = 8;
}

TWorkListWindow::TWorkListWindow(app::TDM& dm, const WorkListKind& kind, const char* objectName, QWidget* parent)
    : QDialog(parent), form_(dm, kind)
{
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(QString::fromStdString(kind.caption));
    db::DataSet& ds = form_.list();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(ui::makeDataSetNavigator(this, ds));
    QHBoxLayout* buttons = ui::makeButtonRow(this, {
        {"add", "添加", [this] {
             app::runAction([this] { form_.add(); });
             pending_.remember(form_.list());
         }},
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
    ui::finishDialog(this);
}

void TWorkListWindow::buildFields(QWidget* area)
{
    auto* grid = new QGridLayout(area);
    fields_ = new ui::RecordFields(form_.dm(), form_.list(), area);
    const std::vector<std::string>& names = form_.kind().fields;
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        using K = personnel::EditorFieldKind;
        const K kind = !form_.editable(name) ? K::ReadOnly : name == "日期" ? K::Date : K::Text;
        const int col = static_cast<int>(i) / kRowsPerColumn * 2, row = static_cast<int>(i) % kRowsPerColumn;
        grid->addWidget(new QLabel(QString::fromStdString(name), area), row, col);
        QWidget* box = fields_->add(name, kind);
        box->setMinimumWidth(140);
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
