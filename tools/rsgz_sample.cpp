// Fills an existing database (a copy of init/vesk.db, or the live data/vesk.db) with a sample
// organisation, for trying the program out and for measuring it.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "SampleData.h"

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: rsgz_sample <path of vesk.db> <employees> [seed]\n");
        return 2;
    }
    char* end = nullptr;
    const long employees = std::strtol(argv[2], &end, 10);
    if (*end != '\0' || employees < 0 || employees > 10000000) {
        std::fprintf(stderr, "rsgz_sample: the number of employees must be a whole number, not \"%s\"\n", argv[2]);
        return 2;
    }
    const unsigned seed = argc == 4 ? static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)) : 1u;
    try {
        const auto start = std::chrono::steady_clock::now();
        rsgz::db::Connection conn(argv[1]);
        rsgz::sample::fillSampleData(conn, static_cast<int>(employees), seed);
        conn.close();
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("%ld employees written to %s in %.1f s\n", employees, argv[1], seconds);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rsgz_sample: %s\n", e.what());
        return 1;
    }
    return 0;
}
