#include "payroll/NewMonthForm.h"

#include <QDate>
#include <algorithm>

#include "app/Interaction.h"
#include "app/OperatorRights.h"
#include "app/TDM.h"
#include "db/BoundStatement.h"
#include "payroll/MonthLock.h"

namespace rsgz::payroll {

namespace {
// Generating, bringing up to date and deleting a month's salary table.
const char* const kRight = "工资表管理";
}  // namespace

NewMonthForm::NewMonthForm(app::TDM& dm) : dm_(dm) {}

void NewMonthForm::activate()
{
    sets.clear();
    app::runAction([this] {
        db::BoundStatement names(dm_.DMADO, "select 帐套名称 from 帐套 order by 编号");
        while (names.step()) sets.push_back(names.textOrEmpty(0));
    });
    const auto preferred = std::find(sets.begin(), sets.end(), preferredSet);
    setIndex = sets.empty() ? -1 : preferred != sets.end() ? static_cast<int>(preferred - sets.begin()) : 0;
    const QDate today = dm_.now().date();
    year = std::clamp(today.year(), 2006, 2050);
    month = today.month();
}

Period NewMonthForm::period() const
{
    const std::string set = setIndex >= 0 && setIndex < static_cast<int>(sets.size()) ? sets[static_cast<size_t>(setIndex)] : "";
    return Period::of(set, year, month);
}

bool NewMonthForm::havePeriod()
{
    if (!period().set.empty()) return true;
    dm_.ShowMessage_jd("请先选择工资帐套！");
    return false;
}

MonthTable NewMonthForm::table()
{
    MonthTable t(dm_.DMADO);
    t.progress = [this](int percent) { setProgress(percent); };
    shownPercent_ = -1;
    return t;
}

void NewMonthForm::setProgress(int percent)
{
    if (percent == shownPercent_) return;
    shownPercent_ = percent;
    progressText = "已经完成 " + std::to_string(percent) + " %";
    if (onProgress) onProgress(progressText);
}

// After generating, the salary view shows the month through a plain statement.
void NewMonthForm::showMonth(const Period& p)
{
    db::SqlLines sql = {"select * from 工资表"};
    for (std::string& line : p.conditionLines()) sql.push_back(std::move(line));
    dm_.gzb.close();
    dm_.gzb.setSql(std::move(sql));
    dm_.gzb.open();
    shownMonth = p;
}

void NewMonthForm::generate()
{
    if (!havePeriod()) return;
    const Period p = period();
    app::runAction([&] {
        app::requireRight(dm_, kRight);
        const db::WorkLock lock = lockMonth(dm_, p);
        MonthTable t = table();
        if (t.rowCount(p) > 0) {
            dm_.ShowMessage_jd("工资表已经存在!");
        } else if (mode == Mode::CopyPrevious) {
            t.copyPreviousMonth(p);
        } else {
            t.generateFromSet(p);
        }
        showMonth(p);
    });
}

void NewMonthForm::synchronise()
{
    if (!havePeriod()) return;
    const Period p = period();
    app::runAction([&] {
        app::requireRight(dm_, kRight);
        const db::WorkLock lock = lockMonth(dm_, p);
        MonthTable t = table();
        if (t.rowCount(p) == 0) {
            dm_.ShowMessage_jd("还未生成本月工资表！");
            return;
        }
        // A closed month is paid as it stands: no row of it is added, changed or removed.
        if (t.closedCount(p) > 0) {
            dm_.ShowMessage_jd("帐套“" + p.set + "”" + p.year + "年" + p.month + "月的工资表已经结帐，不能同步员工数据！");
            return;
        }
        t.synchronise(p);
    });
}

void NewMonthForm::removeMonth()
{
    if (!havePeriod()) return;
    const Period p = period();
    if (!app::runAction([this] { app::requireRight(dm_, kRight); })) return;
    dm_.Show_Tishi_windows2("删除工资数据  帐套:" + p.set + " " + p.year + "年" + p.month + "月 工资数据");
    if (dm_.PromptAnswer != 1) return;
    app::runAction([&] {
        const db::WorkLock lock = lockMonth(dm_, p);
        table().remove(p);
        if (!dm_.gzb.sqlLines().empty()) {
            dm_.gzb.close();
            dm_.gzb.open();
        }
    });
}

void NewMonthForm::close()
{
    app::runAction([this] {
        if (dm_.gzb.sqlLines().empty()) return;
        dm_.gzb.close();
        dm_.gzb.open();
    });
}

}  // namespace rsgz::payroll
