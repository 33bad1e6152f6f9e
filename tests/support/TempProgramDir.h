#pragma once
#include <string>

#include "support/TempDir.h"

namespace rsgz::test {

// A program directory for one test: the folders the program expects (data, set, bak, init,
// baobiao) and a live database data/vesk.db made by the program's own schema code.
class TempProgramDir {
public:
    TempProgramDir();
    // With the trailing separator, as the data module keeps it.
    std::string path() const { return dir_.path() + "/"; }
    std::string file(const std::string& relative) const { return path() + relative; }
    std::string livePath() const { return file("data/vesk.db"); }

private:
    TempDir dir_;
};

}  // namespace rsgz::test
