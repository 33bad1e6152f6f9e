#include "db/FormulaFunctions.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdint>

namespace rsgz::db {

namespace {

bool anyNull(int argc, sqlite3_value** argv)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) return true;
    return false;
}

void resultNumber(sqlite3_context* ctx, double v)
{
    if (std::isfinite(v)) sqlite3_result_double(ctx, v);
    else sqlite3_result_null(ctx);
}

// The default floating-point rounding mode rounds half to even.
double halfEven(double v) { return std::nearbyint(v); }

// Whole numbers for \ and Mod; NULL when an operand does not fit 64 bits.
bool wholeOperands(sqlite3_value** argv, int64_t* a, int64_t* b)
{
    const double x = halfEven(sqlite3_value_double(argv[0]));
    const double y = halfEven(sqlite3_value_double(argv[1]));
    constexpr double limit = 9.2e18;
    if (!(std::fabs(x) < limit) || !(std::fabs(y) < limit)) return false;
    *a = static_cast<int64_t>(x);
    *b = static_cast<int64_t>(y);
    return *b != 0 && !(*b == -1 && *a == INT64_MIN);
}

void roundFn(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    const double x = sqlite3_value_double(argv[0]);
    const int places = argc > 1 ? sqlite3_value_int(argv[1]) : 0;
    if (places < 0 || places > 15) return sqlite3_result_null(ctx);
    const double scale = std::pow(10.0, places);
    resultNumber(ctx, halfEven(x * scale) / scale);
}

void intFn(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    resultNumber(ctx, std::floor(sqlite3_value_double(argv[0])));
}

void fixFn(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    resultNumber(ctx, std::trunc(sqlite3_value_double(argv[0])));
}

void idivFn(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    int64_t a = 0, b = 0;
    if (anyNull(argc, argv) || !wholeOperands(argv, &a, &b)) return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, a / b);
}

void modFn(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    int64_t a = 0, b = 0;
    if (anyNull(argc, argv) || !wholeOperands(argv, &a, &b)) return sqlite3_result_null(ctx);
    sqlite3_result_int64(ctx, a % b);
}

void powFn(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    resultNumber(ctx, std::pow(sqlite3_value_double(argv[0]), sqlite3_value_double(argv[1])));
}

void sgnFn(sqlite3_context* ctx, int argc, sqlite3_value** argv)
{
    if (anyNull(argc, argv)) return sqlite3_result_null(ctx);
    const double x = sqlite3_value_double(argv[0]);
    sqlite3_result_int(ctx, x > 0 ? 1 : (x < 0 ? -1 : 0));
}

}  // namespace

void registerFormulaFunctions(sqlite3* db)
{
    struct Fn {
        const char* name;
        int args;
        void (*fn)(sqlite3_context*, int, sqlite3_value**);
    };
    static constexpr Fn fns[] = {{"rsgz_round", 1, roundFn}, {"rsgz_round", 2, roundFn}, {"rsgz_int", 1, intFn},
                                 {"rsgz_fix", 1, fixFn},     {"rsgz_idiv", 2, idivFn},    {"rsgz_mod", 2, modFn},
                                 {"rsgz_pow", 2, powFn},     {"rsgz_sgn", 1, sgnFn}};
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    for (const Fn& f : fns) sqlite3_create_function(db, f.name, f.args, flags, nullptr, f.fn, nullptr, nullptr);
}

}  // namespace rsgz::db
