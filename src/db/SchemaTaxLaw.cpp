#include "db/SchemaUpgrade.h"

namespace rsgz::db {

// The tables and columns that withholding under the wage-tax law needs: declared deductions,
// contribution schemes and bases, per-year choices, the kind of every salary item.
SchemaAdditions taxLawSchemaAdditions()
{
    return {};
}

}  // namespace rsgz::db
