#include "payroll/WorkListForm.h"

#include <algorithm>

#include "app/Rights.h"
#include "app/Interaction.h"
#include "app/TDM.h"
#include "app/rules/RecordRules.h"
#include "db/DataSet.h"

namespace rsgz::payroll {

const WorkListKind& pieceWork()
{
    static const WorkListKind kind{"计件工资编辑", "计件工资", "jjgz", "员工编号1",
                                   {"日期", "生产单号", "姓名", "员工编号1", "产品编号", "产品名称", "工序", "工序单价",
                                    "完成数量", "金额", "备注"},
                                   {"金额"},
                                   {"序号", "日期", "姓名", "产品名称", "工序", "完成数量", "工序单价", "金额", "生产单号",
                                    "产品编号", "员工编号1", "备注"},
                                   {"完成数量"},
                                   {"工序单价"}};
    return kind;
}

const WorkListKind& timeWork()
{
    static const WorkListKind kind{"复杂计时工资", "计时工资", "jsgz", "员工编号",
                                   {"日期", "生产单号", "产品编号", "产品名称", "姓名", "员工编号", "工种", "工序",
                                    "计时单位", "计时单价", "时间", "金额", "加班单价", "加班时间", "加班金额", "奖金",
                                    "应发工资", "工序工时", "完成数量", "达成率", "备注"},
                                   {"金额", "加班金额", "应发工资"},
                                   {"序号", "日期", "姓名", "产品名称", "工种", "工序", "时间", "计时单位", "计时单价", "金额",
                                    "加班时间", "加班单价", "加班金额", "奖金", "应发工资", "生产单号", "产品编号", "工序工时",
                                    "完成数量", "达成率", "员工编号", "备注"},
                                   {"时间", "加班时间", "工序工时", "完成数量", "达成率"},
                                   {"计时单价", "加班单价", "奖金"}};
    return kind;
}

WorkListForm::WorkListForm(app::TDM& dm, const WorkListKind& kind)
    : dm_(dm), kind_(kind), list_(*dm.dataSet(kind.dataSet))
{
    if (list_.state() == db::DataSet::State::Insert) pending_.remember(list_);
}

bool WorkListForm::mayChange() const { return app::hasRight(dm_, kind_.right); }

bool WorkListForm::editable(const std::string& field) const
{
    const auto& c = kind_.computed;
    if (field == "序号" || field == "编号" || std::find(c.begin(), c.end(), field) != c.end()) return false;
    return mayChange();
}

void WorkListForm::add()
{
    if (!mayChange() || !list_.active()) return;
    list_.append();
    if (list_.state() == db::DataSet::State::Insert) pending_.remember(list_);
}

void WorkListForm::remove()
{
    if (!mayChange() || !list_.active() || list_.isEmpty()) return;
    list_.remove();
}

void WorkListForm::save()
{
    if (!mayChange() || !list_.active()) return;
    if (list_.isEditing()) list_.post();
    list_.requery();
}

void WorkListForm::cancel()
{
    if (!mayChange() || !list_.active()) return;
    if (list_.isEditing()) list_.cancel();
}

bool WorkListForm::close()
{
    return pending_.settle(list_, [this] { list_.post(); });
}

bool WorkListForm::beginsRow() const
{
    return list_.active() && list_.isEmpty() && !list_.isEditing() && mayChange();
}

void WorkListForm::act(const std::string& button)
{
    if (button == "cancel") cancel();
}

std::string WorkListForm::enter(const std::string& column)
{
    const std::vector<std::string>& names = kind_.fields;
    const auto it = std::find(names.begin(), names.end(), column);
    return it == names.end() || it + 1 == names.end() ? names.front() : *(it + 1);
}

void bindWorkListInsert(app::TDM& dm)
{
    for (const WorkListKind* kind : {&pieceWork(), &timeWork()}) {
        const std::string number = kind->numberField;
        app::appendRule(dm.dataSet(kind->dataSet)->rules().afterInsert, [&dm, number](db::DataSet& d) {
            dm.PickResult = 0;
            app::interaction().openWindow(app::WindowId::PickName);
            // The picker leaves the chosen employee as the current row of s4.
            if (dm.PickResult == 1 && dm.s4.active() && !dm.s4.isEmpty()) {
                d.setValue("姓名", dm.s4.value("姓名"));
                d.setValue(number, dm.s4.value("员工编号"));
            }
            dm.getDateTime();
            d.setValue("日期", db::Value(dm.TodayText));
        });
    }
}

}  // namespace rsgz::payroll
