#include "app/EmployeePhoto.h"

#include <QFileInfo>

#include "app/TDM.h"

namespace rsgz::app {

bool hasPathSeparator(const std::string& s) { return s.find_first_of("/\\") != std::string::npos; }

std::string employeePhotoPath(const TDM& dm, const std::string& number)
{
    return dm.programDir() + "照片/" + number + ".jpg";
}

std::string photoToShow(TDM& dm)
{
    if (!dm.rszl.active() || dm.rszl.currentRow() < 0) return {};
    const std::string chosen = dm.rszl.asString("照片位置");
    if (!chosen.empty() && QFileInfo(QString::fromStdString(chosen)).isFile()) return chosen;
    const std::string number = dm.rszl.asString("员工编号");
    if (number.empty() || hasPathSeparator(number)) return {};
    const std::string copy = employeePhotoPath(dm, number);
    return QFileInfo(QString::fromStdString(copy)).isFile() ? copy : std::string();
}

}  // namespace rsgz::app
