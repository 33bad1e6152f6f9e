#include "support/TempDir.h"

namespace rsgz::test {

std::string TempDir::path() const
{
    return dir_.path().toStdString();
}

std::string TempDir::file(std::string_view name) const
{
    return dir_.filePath(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))).toStdString();
}

}  // namespace rsgz::test
