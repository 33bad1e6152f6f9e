#include "db/SchemaUpgrade.h"

#include "db/SqlText.h"

namespace rsgz::db {

namespace {

std::string index(const std::string& name, const std::string& table, const std::string& columns, bool unique = false)
{
    return std::string("create ") + (unique ? "unique " : "") + "index if not exists " + sqlIdent(name) + " on " +
           sqlIdent(table) + " (" + columns + ")";
}

}  // namespace

// What the reminders of due dates keep beside the employee master.
SchemaAdditions reminderSchemaAdditions()
{
    SchemaAdditions a;
    // The age a woman retired at before the gradual rise (50 or 55), where the office has set it;
    // without a row here her post decides. A table of its own: the employee master's columns are
    // those every export, field list and layout knows.
    a.tables.push_back({"女职工退休年龄", {{"员工编号1", FieldType::Text, 16}, {"原退休年龄", FieldType::Integer, 0}}});
    a.statements.push_back(index("女职工退休年龄_员工", "女职工退休年龄", sqlIdent("员工编号1"), true));
    // The reminders count the employees in service whose date lies in a window: the status first,
    // then the date, so each count reads one stretch of one index. Only the two dates most rows have
    // are indexed: every index slows each employee written (an import of 10,000 took 1.9 times as
    // long with four of them, 1.2 times with these two), while the counts stay well within their time.
    for (const char* date : {"合同到期", "退休日期"})
        a.statements.push_back(index(std::string("员工基本情况_在职_") + date, "员工基本情况",
                                     sqlIdent("在职状况") + "," + sqlIdent(date)));
    return a;
}

}  // namespace rsgz::db
