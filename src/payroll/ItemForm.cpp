#include "payroll/ItemForm.h"

#include "app/Rights.h"
#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/BoundStatement.h"
#include "payroll/Formula.h"
#include "payroll/SalaryColumns.h"

namespace rsgz::payroll {

using db::DataSet;

ItemForm::ItemForm(app::TDM& dm) : codeChoices(salaryCodes()), dm_(dm) { dm_.editorOpen.ztmx = true; }

ItemForm::~ItemForm() { dm_.editorOpen.ztmx = false; }

void ItemForm::activate()
{
    nameChoices.clear();
    app::runAction([this] {
        BoundStatement names(dm_.DMADO, "select 工资项目 from 默认工资项目 order by 顺序号");
        while (names.step()) nameChoices.push_back(names.textOrEmpty(0));
    });
    SetSds();
}

bool ItemForm::mayManage() const { return admin::hasRight(dm_, "帐套管理"); }

void ItemForm::SetSds()
{
    taxFieldsEditable = field("是否所得税") == "是";
    taxLinkChoices.clear();
    const std::string set = dm_.gz_zt.active() && !dm_.gz_zt.isEmpty() ? dm_.gz_zt.asString("帐套名称") : "";
    app::runAction([&] {
        BoundStatement items(dm_.DMADO, "select 工资项目 from 帐套, 工资帐套明细 where 帐套编号1=帐套编号 and 帐套名称=? "
                                        "order by 工资代码");
        items.bind(1, std::string_view(set));
        while (items.step()) taxLinkChoices.push_back(items.textOrEmpty(0));
    });
}

std::string ItemForm::field(const std::string& name) const
{
    const DataSet& items = dm_.zt_mx;
    return items.active() && items.currentRow() >= 0 ? items.asString(name) : std::string();
}

void ItemForm::setField(const std::string& name, const std::string& text)
{
    app::runAction([&] {
        DataSet& items = dm_.zt_mx;
        if (!items.active() || (items.isEmpty() && !items.isEditing())) return;
        if (!items.isEditing()) items.edit();
        items.setValue(name, db::Value(text));
    });
    if (name == "是否所得税") SetSds();
}

void ItemForm::moved()
{
    SetSds();
    if (dm_.zt_mx.active()) dm_.showStatus(dm_.zt_mx.statusText());
}

void ItemForm::first() { app::runAction([this] { dm_.zt_mx.first(); }), moved(); }
void ItemForm::prior() { app::runAction([this] { dm_.zt_mx.prior(); }), moved(); }
void ItemForm::next() { app::runAction([this] { dm_.zt_mx.next(); }), moved(); }
void ItemForm::last() { app::runAction([this] { dm_.zt_mx.last(); }), moved(); }

void ItemForm::add()
{
    app::runAction([this] { dm_.zt_mx.append(); });
    SetSds();
}

void ItemForm::remove()
{
    app::runAction([this] {
        if (dm_.zt_mx.active() && (dm_.zt_mx.isEditing() || !dm_.zt_mx.isEmpty())) dm_.zt_mx.remove();
    });
    SetSds();
}

bool ItemForm::save()
{
    const bool ok = app::runAction([this] {
        DataSet& items = dm_.zt_mx;
        if (items.isEditing()) items.post();
        items.requery();
    });
    SetSds();
    return ok;
}

bool ItemForm::isLastItem() const
{
    const std::string code = normalSalaryCode(field("工资代码"));
    if (code.empty()) return false;
    bool last = true;
    app::runAction([&] {
        BoundStatement later(dm_.DMADO, "select count(*) from 工资帐套明细 where 帐套编号1=? and 工资代码>?");
        later.bind(1, std::string_view(field("帐套编号1"))).bind(2, std::string_view(code));
        later.step();
        last = later.integer(0) == 0;
    });
    return last;
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
    if (!save()) return false;
    dm_.ShowMessage_jd("公式正确，已保存。");
    return true;
}

void ItemForm::cancel()
{
    if (dm_.zt_mx.isEditing()) dm_.zt_mx.cancel();
    SetSds();
}

void ItemForm::close()
{
    cancel();
    closed = true;
}

}  // namespace rsgz::payroll
