#include "payroll/windows/TWorkListWindow.h"

#include <algorithm>

#include <QTimer>
#include <QWidget>

#include "widgets/RecordFields.h"

namespace rsgz::payroll {

namespace {

constexpr int kRowsPerColumn = 8;
constexpr int kBoxWidth = 140;

bool listed(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool computed(const WorkListKind& kind, const std::string& field)
{
    return field == "序号" || field == "编号" || listed(kind.computed, field);
}

app::EditorField fieldOf(const WorkListKind& kind, const std::string& name)
{
    using K = app::EditorFieldKind;
    const K shown = computed(kind, name) ? K::ReadOnly : name == "日期" ? K::Date : K::Text;
    // Quantities, hours, prices and the computed amounts follow the "0.00" pattern of the list.
    const bool number = listed(kind.quantities, name) || listed(kind.computed, name) || listed(kind.prices, name);
    return {name, shown, {}, number ? app::FieldPattern::Amount : app::FieldPattern::AsStored, kBoxWidth};
}

// The list's fields in Enter order, up to eight rows of them; 添加, 删除, 保存 and 取消 need the
// list's right.
app::RecordWindowTable tableOf(const WorkListKind& kind, const char* windowClass)
{
    using S = app::RecordStep;
    app::RecordWindowTable table;
    table.caption = kind.caption;
    table.windowClass = windowClass;
    for (const std::string& name : kind.fields) table.fields.push_back(fieldOf(kind, name));
    table.enterOrder = kind.fields;
    table.buttons = {{"add", "添加", S::Add, kind.right},
                     {"delete", "删除", S::Delete, kind.right},
                     {"save", "保存", S::Save, kind.right},
                     {"cancel", "取消", S::Action, kind.right},
                     {"close", "返回", S::Return, {}}};
    table.columns = (static_cast<int>(kind.fields.size()) + kRowsPerColumn - 1) / kRowsPerColumn;
    return table;
}

const app::RecordWindowTable& pieceWorkWindow()
{
    static const app::RecordWindowTable table = tableOf(pieceWork(), "Tjjgzw");
    return table;
}

const app::RecordWindowTable& timeWorkWindow()
{
    static const app::RecordWindowTable table = tableOf(timeWork(), "Tjsgzfzw");
    return table;
}

}  // namespace

TWorkListWindow::TWorkListWindow(app::TDM& dm, const app::RecordWindowTable& table, const WorkListKind& kind,
                                 QWidget* parent)
    : widgets::RecordWindow(dm, table, std::make_unique<WorkListForm>(dm, kind), parent)
{
    for (const app::EditorField& f : table.fields)
        if (f.kind == app::EditorFieldKind::ReadOnly)
            fields().widget(f.column)->setStyleSheet(QStringLiteral("QLineEdit { background: palette(button); }"));
    fields().show();
}

// The first row of an empty list is begun after the show, so the employee picker opens over the
// window.
void TWorkListWindow::activateOnce()
{
    widgets::RecordWindow::activateOnce();
    if (form().beginsRow())
        QTimer::singleShot(0, this, [this] { run([this] { form().add(); }); });
}

Tjjgzw::Tjjgzw(app::TDM& dm, QWidget* parent) : TWorkListWindow(dm, pieceWorkWindow(), pieceWork(), parent) {}

Tjsgzfzw::Tjsgzfzw(app::TDM& dm, QWidget* parent) : TWorkListWindow(dm, timeWorkWindow(), timeWork(), parent) {}

}  // namespace rsgz::payroll
