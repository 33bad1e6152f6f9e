#include "print/PrintFonts.h"

#include <QString>

namespace rsgz::print {

std::string installedFontFamily(const std::string& name)
{
    static const char* const kOldFamilies[] = {
        "MS Sans Serif", "MS Serif", "System", "Arial", "Tahoma", "Times New Roman", "Courier New",
        "宋体", "新宋体", "黑体", "楷体", "楷体_GB2312", "仿宋", "仿宋_GB2312", "隶书", "幼圆", "SimSun", "SimHei", "NSimSun", "KaiTi", "FangSong"};
    const QString n = QString::fromStdString(name).trimmed();
    if (n.isEmpty())
        return kCjkFontFamily;
    for (const char* old : kOldFamilies)
        if (n.compare(QString::fromUtf8(old), Qt::CaseInsensitive) == 0)
            return kCjkFontFamily;
    return name;
}

}  // namespace rsgz::print
