#pragma once
#include <QTemporaryDir>
#include <string>
#include <string_view>

namespace rsgz::test {

// A fresh directory for one test, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    bool isValid() const { return dir_.isValid(); }
    std::string path() const;
    std::string filePath(const std::string& name) const;  // path() + "/" + name
    std::string file(std::string_view name) const { return filePath(std::string(name)); }

private:
    QTemporaryDir dir_;
};

}  // namespace rsgz::test
