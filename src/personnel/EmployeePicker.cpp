#include "personnel/EmployeePicker.h"

#include <algorithm>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/DataSet.h"

namespace rsgz::personnel {

namespace {

const std::vector<std::string>& singleCaptions()
{
    static const std::vector<std::string> captions = {
        "选择被评定人", "选择被奖惩人", "选择被调动人", "选择批准人",         "选择经办人",
        "选择姓名",     "选择被考评人", "一人参加培训", "发放物品给一个人",
    };
    return captions;
}

query::ListQuery everyEmployee() { return query::ListQuery{{"select * from 员工基本情况"}, {}, {}}; }

}  // namespace

PickMode pickModeOf(const std::string& caption)
{
    const auto& single = singleCaptions();
    return std::find(single.begin(), single.end(), caption) != single.end() ? PickMode::Single : PickMode::Multiple;
}

const std::vector<std::string>& employeePickerCaptions()
{
    static const std::vector<std::string> captions = [] {
        std::vector<std::string> all = singleCaptions();
        for (const char* c : {"选择受培训人员", "选择人员发放物品", "选择参加考评人员"}) all.emplace_back(c);
        return all;
    }();
    return captions;
}

EmployeePicker::EmployeePicker(app::TDM& dm, std::string caption)
    : dm_(dm), caption_(std::move(caption)), mode_(pickModeOf(caption_)), queries_(dm), trees_(dm, queries_)
{
}

void EmployeePicker::open()
{
    dm_.PickResult = 0;
    openCandidates(everyEmployee());
    trees_.load(kModule);
    emptyChosen();
}

std::vector<std::string> EmployeePicker::searchFields() const { return query::queryableColumns(dm_.s4); }

void EmployeePicker::clickNode(int node)
{
    if (trees_.fieldList(kModule).empty()) return;
    std::optional<std::vector<query::Condition>> conditions = trees_.pathConditions(kModule, node, dm_.s4);
    if (!conditions) return;
    query::ListQuery q = everyEmployee();
    q.conditions = std::move(*conditions);
    openCandidates(q);
}

void EmployeePicker::search(const std::string& field, const std::string& text)
{
    // The field comes from a box: only a real column of the list reaches the statement.
    if (!query::columnOf(dm_.s4, field)) return;
    query::ListQuery q = everyEmployee();
    q.where(query::Condition::like(field, text));
    openCandidates(q);
}

void EmployeePicker::searchOnEnter(const std::string& field, const std::string& text)
{
    const std::vector<std::string> fields = searchFields();
    if (text.empty() || std::find(fields.begin(), fields.end(), field) == fields.end()) return;
    search(field, text);
}

bool EmployeePicker::chooseCurrent()
{
    const db::DataSet& candidates = dm_.s4;
    if (!candidates.active() || candidates.isEmpty()) return false;
    const std::string number = candidates.asString("员工编号");
    if (isChosen(number)) {
        app::interaction().showMessage("不要重复选择！");
        return false;
    }
    db::DataSet& chosen = dm_.select_renyuan;
    chosen.append();
    chosen.setValue("员工编号", db::Value(number));
    chosen.setValue("姓名", candidates.value("姓名"));
    chosen.post();  // batch mode: kept in memory only
    return true;
}

void EmployeePicker::removeChosen()
{
    db::DataSet& chosen = dm_.select_renyuan;
    if (chosen.state() == db::DataSet::State::Insert) chosen.cancel();
    else if (!chosen.isEmpty()) chosen.remove();
}

void EmployeePicker::finish()
{
    if (mode_ == PickMode::Single) dm_.PickResult = dm_.s4.active() && !dm_.s4.isEmpty() ? 1 : 0;
}

void EmployeePicker::cancel()
{
    emptyChosen();
    dm_.PickResult = 0;
}

void EmployeePicker::openCandidates(const query::ListQuery& q) { query::applyQuery(dm_.s4, q); }

// The chosen list never reads the table: whatever an older program left in it must not come back
// as a choice, and nothing posted to it is ever written.
void EmployeePicker::emptyChosen()
{
    db::DataSet& chosen = dm_.select_renyuan;
    chosen.close();
    chosen.setBatchMode(true);
    chosen.setSql(query::ListQuery{{"select * from 选择人员"}, {query::Condition::fixed("0=1")}, {}}.lines());
    chosen.open();
}

bool EmployeePicker::isChosen(const std::string& number) const
{
    const db::DataSet& chosen = dm_.select_renyuan;
    const int column = chosen.fieldIndex("员工编号");
    for (int r = 0; r < chosen.rowCount(); ++r)
        if (chosen.valueAt(r, column).toString() == number) return true;
    return false;
}

}  // namespace rsgz::personnel
