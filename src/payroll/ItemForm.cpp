#include "payroll/ItemForm.h"

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/BoundStatement.h"
#include "payroll/Formula.h"
#include "payroll/SalaryColumns.h"

namespace rsgz::payroll {

using db::DataSet;

ItemForm::ItemForm(app::TDM& dm) : codeChoices(salaryCodes()), dm_(dm) { dm_.editorOpen.ztmx = true; }

ItemForm::~ItemForm() { dm_.editorOpen.ztmx = false; }

DataSet& ItemForm::dataSet() const { return dm_.zt_mx; }

void ItemForm::activate()
{
    nameChoices.clear();
    db::BoundStatement names(dm_.DMADO, "select 工资项目 from 默认工资项目 order by 顺序号");
    while (names.step()) nameChoices.push_back(names.textOrEmpty(0));
    SetSds();
}

void ItemForm::SetSds()
{
    taxFieldsEditable = field("是否所得税") == "是";
    taxLinkChoices.clear();
    const std::string set = dm_.gz_zt.active() && !dm_.gz_zt.isEmpty() ? dm_.gz_zt.asString("帐套名称") : "";
    db::BoundStatement items(dm_.DMADO, "select 工资项目 from 帐套, 工资帐套明细 where 帐套编号1=帐套编号 and 帐套名称=? "
                                    "order by 工资代码");
    items.bind(1, std::string_view(set));
    while (items.step()) taxLinkChoices.push_back(items.textOrEmpty(0));
}

std::string ItemForm::field(const std::string& name) const
{
    const DataSet& items = dm_.zt_mx;
    return items.active() && items.currentRow() >= 0 ? items.asString(name) : std::string();
}

void ItemForm::setField(const std::string& name, const std::string& text)
{
    DataSet& items = dm_.zt_mx;
    if (!items.active() || (items.isEmpty() && !items.isEditing())) return;
    if (!items.isEditing()) items.edit();
    items.setValue(name, db::Value(text));
    written(name);
}

void ItemForm::written(const std::string& column)
{
    if (column == "是否所得税") SetSds();
}

void ItemForm::moved()
{
    SetSds();
    if (dm_.zt_mx.active()) dm_.showStatus(dm_.zt_mx.statusText());
}

void ItemForm::first() { RecordBehaviour::first(), moved(); }
void ItemForm::prior() { RecordBehaviour::prior(), moved(); }
void ItemForm::next() { RecordBehaviour::next(), moved(); }
void ItemForm::last() { RecordBehaviour::last(), moved(); }

void ItemForm::add()
{
    dm_.zt_mx.append();
    SetSds();
}

void ItemForm::remove()
{
    if (dm_.zt_mx.active() && (dm_.zt_mx.isEditing() || !dm_.zt_mx.isEmpty())) dm_.zt_mx.remove();
    SetSds();
}

void ItemForm::save()
{
    DataSet& items = dm_.zt_mx;
    if (items.isEditing()) items.post();
    items.requery();
    SetSds();
}

bool ItemForm::isLastItem() const
{
    const std::string code = normalSalaryCode(field("工资代码"));
    if (code.empty()) return false;
    db::BoundStatement later(dm_.DMADO, "select count(*) from 工资帐套明细 where 帐套编号1=? and 工资代码>?");
    later.bind(1, std::string_view(field("帐套编号1"))).bind(2, std::string_view(code));
    later.step();
    return later.integer(0) == 0;
}

bool ItemForm::checkFormula()
{
    const std::string formula = field("计算公式");
    if (formula.find_first_not_of(" \t") != std::string::npos) {
        const FormulaResult r = readFormula(formula);
        if (!r.ok) {
            dm_.ShowMessage_jd("计算公式有误，" + r.message());
            return false;
        }
        if (isLastItem()) {
            const NetPayTerms terms = parseNetPayTerms(formula);
            if (!terms.ok) {
                dm_.ShowMessage_jd("本项目是帐套的最后一项（实发工资），" + terms.message());
                return false;
            }
        }
    }
    save();  // a refused save ends the step here, with the refusal's own message
    dm_.ShowMessage_jd("公式正确，已保存。");
    return true;
}

void ItemForm::cancel()
{
    if (dm_.zt_mx.isEditing()) dm_.zt_mx.cancel();
    SetSds();
}

bool ItemForm::close()
{
    cancel();
    closed = true;
    return true;
}

void ItemForm::act(const std::string& button)
{
    if (button == "验证公式") checkFormula();
    else if (button == "所得税设置") app::interaction().openWindow("所得税设置");
}

bool ItemForm::enabled(const app::RecordButton& button) const
{
    return button.objectName != "所得税设置" || taxFieldsEditable;
}

// The threshold and the link belong to the tax item only.
bool ItemForm::writable(const std::string& column) const
{
    return (column != "个税起征点" && column != "个税关联") || taxFieldsEditable;
}

std::vector<std::string> ItemForm::choices(const app::EditorField& field) const
{
    if (field.column == "工资代码") return codeChoices;
    if (field.column == "工资项目") return nameChoices;
    if (field.column == "个税关联") return taxLinkChoices;
    if (field.column == "是否所得税") return {"否", "是"};
    return {};
}

}  // namespace rsgz::payroll
