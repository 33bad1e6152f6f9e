// Build step: writes the column files the installation brings below set/ (those not there yet).
#include <cstdio>
#include <exception>
#include <string>

#include "query/DefaultQueryFiles.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: rsgz_mkset <set folder>\n");
        return 2;
    }
    try {
        std::string dir = argv[1];
        if (!dir.empty() && dir.back() != '/') dir += '/';
        rsgz::query::writeMissingQueryFiles(dir);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rsgz_mkset: %s\n", e.what());
        return 1;
    }
    return 0;
}
