#pragma once
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace rsgz::widgets {

// The program's texts (UTF-8) as a list for the widgets.
inline QStringList toQStringList(const std::vector<std::string>& texts)
{
    QStringList out;
    out.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& t : texts) out << QString::fromStdString(t);
    return out;
}

}  // namespace rsgz::widgets
