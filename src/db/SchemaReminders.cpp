#include "db/SchemaUpgrade.h"

namespace rsgz::db {

// What the reminders of due dates keep beside the employee master.
SchemaAdditions reminderSchemaAdditions()
{
    return {};
}

}  // namespace rsgz::db
