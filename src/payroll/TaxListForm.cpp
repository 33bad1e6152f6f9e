#include "payroll/TaxListForm.h"

#include "app/Interaction.h"
#include "app/TDM.h"
#include "app/rules/RecordRules.h"
#include "db/SqlText.h"
#include "db/BoundStatement.h"

namespace rsgz::payroll {

TaxListForm::TaxListForm(app::TDM& dm, const TaxListSetup& setup)
    : dm_(dm), setup_(setup), ds_(&dm.DMADO, setup.table)
{
    db::DataSetRules& r = ds_.rules();
    r.afterInsert = [this](db::DataSet& ds) {
        for (const auto& [column, value] : setup_.defaults) ds.setValue(column, value);
        if (!employee_.empty() && ds.fieldIndex("员工编号1") >= 0) ds.setValue("员工编号1", employee_);
        if (year_ > 0 && ds.fieldIndex("年度") >= 0) ds.setValue("年度", year_);
    };
    r.beforePost = [this](db::DataSet& ds) {
        if (!setup_.check) return;
        const std::string refusal = setup_.check(ds);
        if (refusal.empty()) return;
        dm_.ShowMessage_jd(refusal);
        db::abortSilently();
    };
    if (setup_.showsName) {
        ds_.addCalcField("姓名", db::FieldType::Text, 40);
        r.calculate = [this](db::CalcRow& row) {
            const auto found = names_.find(row.get("员工编号1").toString());
            row.set("姓名", found == names_.end() ? db::Value() : db::Value(found->second));
        };
    }
    r.beforeDelete = [](db::DataSet&) {
        if (!app::interaction().ask("删除当前记录吗？")) db::abortSilently();
    };
    // Before the rules above: a refused operator is told so before anything is checked or asked.
    app::guardWithRight(dm_, ds_, setup_.right);
}

db::SqlLines TaxListForm::statement() const
{
    db::SqlLines lines = {"select * from " + db::sqlIdent(setup_.table)};
    if (!employee_.empty()) lines.push_back("where 员工编号1=" + db::sqlQuote(employee_));
    else if (year_ > 0) lines.push_back("where 年度=" + std::to_string(year_));
    if (!setup_.order.empty()) lines.push_back("order by " + setup_.order);
    return lines;
}

bool TaxListForm::settle()
{
    return !ds_.active() || !ds_.isEditing() || app::runAction([this] { ds_.post(); });
}

bool TaxListForm::setEmployee(const std::string& number)
{
    const std::string before = employee_;
    if (!settle()) return false;
    employee_ = number;
    if (open()) return true;
    employee_ = before;
    return false;
}

bool TaxListForm::setYear(int year)
{
    const int before = year_;
    if (!settle()) return false;
    year_ = year;
    if (open()) return true;
    year_ = before;
    return false;
}

void TaxListForm::readNames()
{
    names_.clear();
    db::BoundStatement st(dm_.DMADO, "select 员工编号, 姓名 from 员工基本情况");
    while (st.step()) names_[st.textOrEmpty(0)] = st.textOrEmpty(1);
}

bool TaxListForm::open()
{
    return app::runAction([this] {
        if (ds_.active() && ds_.isEditing()) ds_.post();
        if (setup_.showsName) readNames();
        ds_.close();
        ds_.setSql(statement());
        ds_.open();
    });
}

void TaxListForm::add()
{
    app::runAction([this] {
        if (ds_.active()) ds_.append();
    });
}

void TaxListForm::save()
{
    app::runAction([this] {
        if (!ds_.active()) return;
        if (ds_.isEditing()) ds_.post();
        ds_.requery();
    });
}

void TaxListForm::remove()
{
    app::runAction([this] {
        if (ds_.state() == db::DataSet::State::Insert) ds_.cancel();
        else if (ds_.active() && !ds_.isEmpty()) ds_.remove();
    });
}

}  // namespace rsgz::payroll
