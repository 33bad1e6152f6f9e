#include "personnel/Reminders.h"

#include "app/TDM.h"
#include "db/SqlText.h"
#include "query/QueryModules.h"

namespace rsgz::personnel {

namespace {

using query::Condition;

constexpr int kPersonnel = 1;

std::string dateLiteral(const QDate& d) { return db::sqlLiteral(db::Value::fromDate(d), db::FieldType::DateTime); }

// Dates are stored as yyyy-mm-dd (with a time after it where one was typed), so a day range is a
// range of text: from the first day up to, not including, the day after the last. The date columns'
// indexes serve it.
std::vector<Condition> dayRange(const std::string& column, const QDate& first, const QDate& last)
{
    return {Condition::fixed(column + ">=" + dateLiteral(first)), Condition::fixed(column + "<" + dateLiteral(last.addDays(1)))};
}

std::string orderColumn(ReminderKind kind)
{
    switch (kind) {
    case ReminderKind::ContractDue:
    case ReminderKind::ContractExpired: return "合同到期";
    case ReminderKind::ProbationDue: return "转正日期";
    case ReminderKind::RetirementDue:
    case ReminderKind::RetirementPast: return "退休日期";
    case ReminderKind::Birthday:
    case ReminderKind::RetirementUnset: return "出生年月";
    }
    return "员工编号";
}

}  // namespace

const std::vector<ReminderKind>& reminderKinds()
{
    static const std::vector<ReminderKind> kinds = {ReminderKind::ContractDue,   ReminderKind::ContractExpired,
                                                    ReminderKind::ProbationDue,  ReminderKind::RetirementDue,
                                                    ReminderKind::RetirementPast, ReminderKind::Birthday,
                                                    ReminderKind::RetirementUnset};
    return kinds;
}

std::string Reminders::caption(ReminderKind kind) const
{
    switch (kind) {
    case ReminderKind::ContractDue: return "合同" + std::to_string(settings_.contractDays) + "天内到期";
    case ReminderKind::ContractExpired: return "合同已到期";
    case ReminderKind::ProbationDue: return "试用期" + std::to_string(settings_.probationDays) + "天内结束";
    case ReminderKind::RetirementDue: return std::to_string(settings_.retirementMonths) + "个月内退休";
    case ReminderKind::RetirementPast: return "已过退休日期仍在职";
    case ReminderKind::Birthday: return "本月过生日";
    case ReminderKind::RetirementUnset: return "退休日期未填";
    }
    return {};
}

namespace {
// A date column that holds a date: not null, and in a file not the empty text an import may leave
// (a date compares below every date as text there).
Condition hasDate(const char* column)
{
    return Condition::fixed(query::asText(column, db::FieldType::DateTime) + "<>''");
}
}  // namespace

std::vector<Condition> Reminders::conditions(ReminderKind kind) const
{
    std::vector<Condition> c = {Condition::equals("在职状况", db::Value("在职"), db::FieldType::Text)};
    const auto add = [&c](std::vector<Condition> more) { c.insert(c.end(), more.begin(), more.end()); };
    switch (kind) {
    case ReminderKind::ContractDue: add(dayRange("合同到期", today_, today_.addDays(settings_.contractDays))); break;
    case ReminderKind::ContractExpired:
        add({hasDate("合同到期"), Condition::fixed("合同到期<" + dateLiteral(today_))});
        break;
    case ReminderKind::ProbationDue: add(dayRange("转正日期", today_, today_.addDays(settings_.probationDays))); break;
    case ReminderKind::RetirementDue:
        add(dayRange("退休日期", today_, today_.addMonths(settings_.retirementMonths)));
        break;
    case ReminderKind::RetirementPast:
        add({hasDate("退休日期"), Condition::fixed("退休日期<" + dateLiteral(today_))});
        break;
    case ReminderKind::Birthday: {
        const std::string month = QDate(2000, today_.month(), 1).toString(QStringLiteral("MM")).toStdString();
        add({Condition::fixed("substr(" + query::asText("出生年月", db::FieldType::DateTime) + ",6,2)=" + db::sqlQuote(month))});
        break;
    }
    case ReminderKind::RetirementUnset:
        add({Condition::empty("退休日期", db::FieldType::DateTime), hasDate("出生年月")});
        break;
    }
    return c;
}

query::ListQuery Reminders::listQuery(ReminderKind kind) const
{
    const query::QueryModule* m = query::queryModule(kPersonnel);
    query::ListQuery q = query::filteredQuery(*m, conditions(kind), false);
    // What has passed, the longest past first; what is due, the nearest first.
    q.orderBy(orderColumn(kind), kind == ReminderKind::ContractExpired || kind == ReminderKind::RetirementPast);
    return q;
}

int Reminders::count(ReminderKind kind) const
{
    query::ListQuery q;
    q.select = {"select count(*) from 员工基本情况"};
    q.conditions = conditions(kind);
    db::DataSet& s = dm_.s2;
    s.close();
    s.setSql(q.lines());
    s.open();
    const int n = s.isEmpty() ? 0 : static_cast<int>(s.rowValue(0, 0).toInt());
    s.close();
    return n;
}

std::vector<ReminderCount> Reminders::counts() const
{
    std::vector<ReminderCount> out;
    for (ReminderKind k : reminderKinds()) out.push_back({k, caption(k), count(k)});
    return out;
}

}  // namespace rsgz::personnel
