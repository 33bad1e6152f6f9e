#include "db/SchemaUpgrade.h"

#include "db/SqlText.h"

namespace rsgz::db {

// Which clerk took the close-time copy of a shared database on which day: the first one to close
// takes it, the others find the row and leave it. One row a day; the day is unique, so two clerks
// closing at the same moment cannot both record it.
SchemaAdditions dailyCopySchemaAdditions()
{
    SchemaAdditions a;
    a.tables.push_back({"每日备份", {{"日期", FieldType::Text, 8}, {"操作员", FieldType::Text, 50}, {"时间", FieldType::DateTime, 0}}});
    a.statements.push_back("create unique index if not exists " + sqlIdent("每日备份_日期") + " on " + sqlIdent("每日备份") + " ("
                           + sqlIdent("日期") + ")");
    return a;
}

}  // namespace rsgz::db
