#include "app/DesktopPicture.h"

#include <QFileInfo>
#include <QString>

#include "db/Gbk.h"

namespace rsgz::app {

std::string DesktopPicture::load() const
{
    if (!QFileInfo::exists(QString::fromStdString(settingsPath()))) return {};
    std::vector<std::string> lines;
    try {
        lines = db::readSettingsLines(settingsPath());
    } catch (const std::exception&) {
        return {};  // an unreadable file leaves the picture as it is, without a word
    }
    if (lines.empty() || lines.front().empty()) return {};
    const QFileInfo picture(QString::fromStdString(lines.front()));
    return picture.isFile() ? lines.front() : std::string();
}

void DesktopPicture::choose(const std::string& picturePath) const { db::writeSettingsLines(settingsPath(), {picturePath}); }

}  // namespace rsgz::app
