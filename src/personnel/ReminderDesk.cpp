#include "personnel/ReminderDesk.h"

#include <algorithm>

#include "app/Interaction.h"
#include "app/Navigation.h"
#include "app/TDM.h"
#include "personnel/RetirementDates.h"
#include "query/QueryPages.h"

namespace rsgz::personnel {

namespace {
constexpr int kPersonnel = 1;
}

void ReminderDesk::refresh()
{
    counts_.clear();
    if (!dm_.DMADO.isOpen()) return;
    bool damaged = false;
    settings_ = ReminderSettings::read(dm_.programDir(), &damaged);
    if (damaged && !damageTold_) {
        damageTold_ = true;
        app::interaction().showMessage("提醒设置文件 " + ReminderSettings::path(dm_.programDir()) +
                                       " 已损坏，无法读取的设置按默认值使用。保存一次提醒设置即可修复。");
    }
    today_ = dm_.now().date();
    const Reminders r(dm_, settings_, today_);
    app::runAction([&] { counts_ = r.counts(); });
}

void ReminderDesk::openList(ReminderKind kind)
{
    if (!dm_.DMADO.isOpen()) return;
    nav_.chooseModule(kPersonnel);
    const Reminders r(dm_, settings_, dm_.now().date());
    const bool done = app::runAction([&] { pages_.queries().apply(kPersonnel, r.listQuery(kind)); });
    if (done && pages_.trees().onHint) pages_.trees().onHint("当前数据：  " + r.caption(kind));
}

void ReminderDesk::saveSettings(const ReminderSettings& s)
{
    ReminderSettings bounded = s;
    bounded.contractDays = std::clamp(s.contractDays, 1, ReminderSettings::kMaxDays);
    bounded.probationDays = std::clamp(s.probationDays, 1, ReminderSettings::kMaxDays);
    bounded.retirementMonths = std::clamp(s.retirementMonths, 1, ReminderSettings::kMaxMonths);
    if (!app::runAction([&] { bounded.write(dm_.programDir()); })) return;
    damageTold_ = false;
    refresh();
}

void ReminderDesk::fillRetirementDates()
{
    if (!dm_.DMADO.isOpen()) return;
    db::DataSet* list = nav_.lists().dataSet(kPersonnel);
    if (list && list->active()) {
        app::runAction([&] { RetirementFill(dm_).run(*list); });
    } else {
        // No list read yet: every employee, through a scratch list that leaves the page as it is.
        db::DataSet& all = dm_.s3;
        app::runAction([&] {
            all.close();
            all.setSql(db::SqlLines{"select * from 员工基本情况"});
            all.open();
            RetirementFill(dm_).run(all);
        });
        all.close();
    }
    // The list was read again behind the desktop; the desktop shows no list's status.
    dm_.showStatus("");
    refresh();
}

}  // namespace rsgz::personnel
