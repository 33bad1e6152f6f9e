#include "support/TempDir.h"

#include <QDir>

namespace rsgz::test {

TempDir::TempDir() : dir_(QDir::tempPath() + "/rsgz_test_XXXXXX") {}

std::string TempDir::path() const { return dir_.path().toStdString(); }

std::string TempDir::filePath(const std::string& name) const { return path() + "/" + name; }

}  // namespace rsgz::test
