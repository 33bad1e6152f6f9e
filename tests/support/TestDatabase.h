#pragma once
#include <string>

#include "support/TempDir.h"

namespace rsgz::test {

// A program directory for one test, laid out as after the first login: init/vesk.db made by the
// program's own schema code and data/vesk.db copied from it. The template is made once per test
// program (the default operator's password hash is deliberately slow) and copied for each test.
class TestDatabase {
public:
    TestDatabase();
    bool isValid() const { return dir_.isValid(); }
    std::string programDir() const { return dir_.path() + "/"; }
    std::string livePath() const { return dir_.filePath("data/vesk.db"); }
    std::string templatePath() const { return dir_.filePath("init/vesk.db"); }

private:
    TempDir dir_;
};

}  // namespace rsgz::test
