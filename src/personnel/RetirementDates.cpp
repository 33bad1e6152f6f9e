#include "personnel/RetirementDates.h"

#include <QDate>

#include "app/Interaction.h"
#include "app/OperatorRights.h"
#include "app/Progress.h"
#include "app/TDM.h"
#include "db/SqlText.h"
#include "personnel/RetirementAge.h"

namespace rsgz::personnel {

namespace {

const char* const kTable = "女职工退休年龄";

std::string text(const db::DataSet& list, int row, int field)
{
    return field < 0 ? std::string() : list.rowValue(row, field).toString();
}

}  // namespace

std::string WomanOldAges::key(const std::string& employee)
{
    std::string k = employee;
    for (char& c : k)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return k;
}

std::map<std::string, int> WomanOldAges::all() const
{
    std::map<std::string, int> out;
    db::DataSet& s = dm_.s2;
    s.close();
    s.setSql({std::string("select 员工编号1, 原退休年龄 from ") + kTable});
    s.open();
    for (int r = 0; r < s.rowCount(); ++r) {
        const int age = static_cast<int>(s.rowValue(r, 1).toInt());
        if (age == 50 || age == 55) out[key(s.rowValue(r, 0).toString())] = age;
    }
    s.close();
    return out;
}

std::vector<WomanOldAges::Woman> WomanOldAges::women() const
{
    const std::map<std::string, int> ages = all();
    std::vector<Woman> out;
    db::DataSet& s = dm_.s2;
    s.close();
    s.setSql(db::SqlLines{"select 员工编号, 姓名, 一级部门, 岗位工种 from 员工基本情况", "where 性别='女'", "and 在职状况='在职'",
                          "order by 员工编号"});
    s.open();
    for (int r = 0; r < s.rowCount(); ++r) {
        Woman w{s.rowValue(r, 0).toString(), s.rowValue(r, 1).toString(), s.rowValue(r, 2).toString(), s.rowValue(r, 3).toString()};
        const auto it = ages.find(key(w.employee));
        w.set = it == ages.end() ? 0 : it->second;
        w.age = w.set ? w.set : defaultWomanOldAge(w.post);
        out.push_back(std::move(w));
    }
    s.close();
    return out;
}

void WomanOldAges::set(const std::vector<std::string>& employees, int age)
{
    app::requireRight(dm_, "档案管理");
    if (age != 0 && age != 50 && age != 55) return;
    db::Transaction t(dm_.DMADO);
    for (const std::string& e : employees) {
        const std::string who = db::sqlQuote(e);
        dm_.DMADO.exec(std::string("delete from ") + kTable + " where 员工编号1=" + who);
        if (age) dm_.DMADO.exec(std::string("insert into ") + kTable + " (员工编号1, 原退休年龄) values (" + who + ", " + std::to_string(age) + ")");
    }
    t.commit();
}

RetirementFill::Plan RetirementFill::plan(const db::DataSet& list) const
{
    Plan p;
    if (!list.active()) return p;
    const std::map<std::string, int> ages = WomanOldAges(dm_).all();
    const int no = list.fieldIndex("员工编号"), sex = list.fieldIndex("性别"), birth = list.fieldIndex("出生年月");
    const int post = list.fieldIndex("岗位工种"), retire = list.fieldIndex("退休日期"), status = list.fieldIndex("在职状况");
    if (no < 0 || birth < 0 || retire < 0) return p;
    for (int r = 0; r < list.recordCount(); ++r) {
        if (text(list, r, status) != "在职") continue;
        const std::string employee = text(list, r, no);
        const auto set = ages.find(WomanOldAges::key(employee));
        const std::optional<RetirementGroup> group =
            retirementGroup(text(list, r, sex), set == ages.end() ? 0 : set->second, text(list, r, post));
        const QDate born = list.rowValue(r, birth).toDate();
        if (!group || !born.isValid()) {
            ++p.unknown;
            continue;
        }
        const std::string date = retirementDate(*group, born).toString(QStringLiteral("yyyy-MM-dd")).toStdString();
        const std::string old = text(list, r, retire);
        if (old != date) p.changes.push_back({employee, old, date});
    }
    return p;
}

int RetirementFill::run(db::DataSet& list)
{
    app::requireRight(dm_, "档案管理");
    if (list.isEditing()) list.post();
    const Plan p = plan(list);
    const std::string unknown =
        p.unknown ? "\n另有" + std::to_string(p.unknown) + "名在职员工缺少出生年月或性别，无法计算。" : std::string();
    if (p.changes.empty()) {
        app::interaction().showMessage("人事资料列表中在职员工的退休日期都已按出生年月填好，没有需要更改的。" + unknown);
        return 0;
    }
    int replaced = 0;
    for (const RetirementChange& c : p.changes) replaced += c.oldDate.empty() ? 0 : 1;
    std::string question = "将按出生年月和法定退休年龄，为人事资料列表中的" + std::to_string(p.changes.size()) + "名在职员工填写退休日期";
    if (replaced) question += "，其中" + std::to_string(replaced) + "名原来填写的日期将被替换";
    if (!app::interaction().ask(question + "。" + unknown + "\n是否继续？")) return 0;

    {
        app::Progress progress("填写退休日期", "正在填写退休日期.....", static_cast<int>(p.changes.size()));
        db::Transaction t(dm_.DMADO);
        int done = 0;
        for (const RetirementChange& c : p.changes) {
            dm_.DMADO.exec("update 员工基本情况 set 退休日期=" + db::sqlLiteral(db::Value(c.newDate), db::FieldType::DateTime) +
                           " where 员工编号=" + db::sqlQuote(c.employee));
            if (++done % 500 == 0) progress.step(done);
        }
        t.commit();
    }
    // The list shows the same query with the new dates; rows that no longer match drop out.
    const int row = list.currentRow();
    list.requery();
    if (row > 0 && list.recordCount() > 0) list.moveToRow(std::min(row, list.recordCount() - 1));
    return static_cast<int>(p.changes.size());
}

}  // namespace rsgz::personnel
