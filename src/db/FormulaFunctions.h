#pragma once

struct sqlite3;

namespace rsgz::db {

// The arithmetic of salary formulas that SQLite has no function for, registered on every
// connection beside the collation: rounding half to even, floor and truncation, the integer
// division and remainder of whole numbers, powers and the sign. Each gives NULL for a NULL
// argument and for a result that is no number (division by zero, an overflowing power), so a
// faulty row shows an empty value instead of failing the whole list.
//
//   rsgz_round(x [, places])  half to even at the given decimal places (default 0)
//   rsgz_int(x)               largest whole number not above x
//   rsgz_fix(x)               x without its fraction
//   rsgz_idiv(a, b)           a and b rounded half to even, then divided, the fraction dropped
//   rsgz_mod(a, b)            a and b rounded half to even; the remainder takes a's sign
//   rsgz_pow(a, b)            a to the power b
//   rsgz_sgn(x)               -1, 0 or 1
void registerFormulaFunctions(sqlite3* db);

}  // namespace rsgz::db
