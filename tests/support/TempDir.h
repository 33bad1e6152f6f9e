#pragma once
#include <QTemporaryDir>

#include <string>
#include <string_view>

namespace rsgz::test {

// A fresh folder for one test, removed with everything in it when the object goes.
class TempDir {
public:
    std::string path() const;
    std::string file(std::string_view name) const;

private:
    QTemporaryDir dir_;
};

}  // namespace rsgz::test
