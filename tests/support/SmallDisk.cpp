#include "support/SmallDisk.h"

#include <QDir>
#include <sys/mount.h>

namespace rsgz::test {

SmallDisk::SmallDisk(std::string folder, int kilobytes) : folder_(std::move(folder))
{
    QDir().mkpath(QString::fromStdString(folder_));
    const std::string size = "size=" + std::to_string(kilobytes) + "k";
    mounted_ = ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, size.c_str()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (mounted_) ::umount(folder_.c_str());
}

}  // namespace rsgz::test
