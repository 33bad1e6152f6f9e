#pragma once
#include "db/Money.h"

namespace rsgz::db {

// An amount as the grids, the salary card and the printed tables show it ("0.00"): to the fen,
// half away from zero, the rounding Money::toString(2) applies. Totals add these figures, so a
// total is always the sum of the figures shown above it, and the bank pays the same figure.
inline Money shownAmount(Money amount)
{
    const int64_t units = amount.units();
    const int64_t rest = units % 100;  // has the sign of units
    if (rest >= 50) return Money::fromUnits(units - rest + 100);
    if (rest <= -50) return Money::fromUnits(units - rest - 100);
    return Money::fromUnits(units - rest);
}

}  // namespace rsgz::db
