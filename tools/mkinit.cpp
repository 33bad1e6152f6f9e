// Build step: writes the template database init/vesk.db with the program's own schema code.
#include <cstdio>
#include <exception>

#include "app/TDM.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: rsgz_mkinit <path of vesk.db>\n");
        return 2;
    }
    try {
        std::remove(argv[1]);
        rsgz::app::createTemplateDatabase(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "rsgz_mkinit: %s\n", e.what());
        return 1;
    }
    return 0;
}
