#include "payroll/GradeValuesForm.h"

#include <functional>
#include <set>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/Connection.h"

namespace rsgz::payroll {

using db::DataSet;

namespace {
void reopen(DataSet& ds, db::SqlLines sql)
{
    ds.close();
    ds.setSql(std::move(sql));
    ds.open();
}

// 删除: a row not yet saved is only abandoned; otherwise the current row goes, after its question.
void removeRow(DataSet& ds)
{
    app::runAction([&] {
        if (ds.state() == DataSet::State::Insert) ds.cancel();
        else if (ds.active() && !ds.isEmpty()) ds.remove();
    });
}

// Runs its step when the scope is left by an exception, unless dismissed.
class AfterFailure {
public:
    explicit AfterFailure(std::function<void()> step) : step_(std::move(step)) {}
    ~AfterFailure()
    {
        if (!step_) return;
        try {
            step_();
        } catch (...) {
        }
    }
    void dismiss() { step_ = nullptr; }

private:
    std::function<void()> step_;
};
}  // namespace

void GradeValuesForm::activate()
{
    app::runAction([this] { open_gzxm(); });
    app::runAction([this] { open_gzdj(); });
    app::runAction([this] { open_gzdj_gzxm(); });
}

void GradeValuesForm::open_gzxm() { reopen(dm_.gzxmd, {"select * from 默认工资项目"}); }

void GradeValuesForm::open_gzdj()
{
    DataSet& grades = dm_.gzdj;
    reopen(grades, {"select * from 工资等级"});
    if (!grades.isEmpty()) return;
    DataSet& dictionary = dm_.s1;
    reopen(dictionary, {"Select * from 数据字典", "where 字段名称 = '工资等级'"});
    AfterFailure reread([this] { reopen(dm_.gzdj, {"select * from 工资等级"}); });  // after the rollback
    db::Transaction t(dm_.DMADO);
    for (dictionary.first(); !dictionary.eof(); dictionary.next()) {
        grades.append();
        grades.setValue("工资等级", dictionary.value("字典内容"));
        grades.post();
    }
    t.commit();
    reread.dismiss();
    grades.first();
}

void GradeValuesForm::open_gzdj_gzxm()
{
    db::SqlLines sql = {"select * from 默认工资等级值"};
    const DataSet& grades = dm_.gzdj;
    if (grades.active())
        sql.push_back("where 工资等级=" + db::sqlQuote(grades.isEmpty() ? std::string() : grades.asString("工资等级")));
    reopen(dm_.gzdj_gzxm, std::move(sql));
}

void GradeValuesForm::gradeClicked(int row)
{
    app::runAction([&] {
        DataSet& grades = dm_.gzdj;
        if (row >= 0 && row < grades.recordCount()) grades.moveToRow(row);
        open_gzdj_gzxm();
        add_gzxm();
    });
}

void GradeValuesForm::add_gzxm()
{
    DataSet& names = dm_.gzxmd;
    DataSet& values = dm_.gzdj_gzxm;
    if (values.recordCount() >= names.recordCount()) return;
    std::set<std::string> shown;
    for (int r = 0; r < values.recordCount(); ++r) shown.insert(values.rowValue(r, values.fieldIndex("工资项目")).toString());
    // All rows or none: on a failure the list is read again to show what is stored.
    AfterFailure reread([this] { open_gzdj_gzxm(); });  // after the rollback
    db::Transaction t(dm_.DMADO);
    for (int r = 0; r < names.recordCount(); ++r) {
        const std::string name = names.rowValue(r, names.fieldIndex("工资项目")).toString();
        if (name.empty() || !shown.insert(name).second) continue;
        values.append();  // the rules give it the grade and 0
        values.setValue("工资项目", name);
        values.post();
    }
    t.commit();
    reread.dismiss();
}

void GradeValuesForm::add(DataSet& ds)
{
    app::runAction([&] {
        if (ds.active()) ds.append();
    });
}

void GradeValuesForm::remove(DataSet& ds) { removeRow(ds); }

void GradeValuesForm::save(DataSet& ds)
{
    app::runAction([&] {
        if (ds.isEditing()) ds.post();
    });
}

// --- brackets ------------------------------------------------------------------------------------

void TaxBracketForm::open_sds_data() { app::runAction([this] { reopen(dm_.sds_set, {"select * from 所得税设置"}); }); }

void TaxBracketForm::add()
{
    app::runAction([this] {
        if (dm_.sds_set.active()) dm_.sds_set.append();
    });
}

void TaxBracketForm::remove() { removeRow(dm_.sds_set); }

void TaxBracketForm::save()
{
    app::runAction([this] {
        DataSet& ds = dm_.sds_set;
        if (!ds.active()) return;
        if (ds.isEditing()) ds.post();
        ds.requery();
    });
}

}  // namespace rsgz::payroll
