#include "admin/NameHistory.h"

#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <stdexcept>

#include "db/Gbk.h"
#include "db/LatinCase.h"

namespace rsgz::admin {


bool isOneLineName(std::string_view name) { return name.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos; }

NameHistory NameHistory::load(const std::string& path)
{
    NameHistory history(path);
    if (QFileInfo::exists(QString::fromStdString(path))) history.items_ = db::readSettingsLines(path);
    return history;
}

int NameHistory::indexOfIgnoringLatinCase(std::string_view name) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (db::equalsIgnoringLatinCase(items_[i], name)) return static_cast<int>(i);
    return -1;
}

std::string NameHistory::record(std::string_view name)
{
    if (name.empty()) throw std::invalid_argument("用户名称不能为空");
    if (!isOneLineName(name)) throw std::invalid_argument(kNameOnOneLine);
    std::vector<std::string> items = items_;
    const int found = indexOfIgnoringLatinCase(name);
    const auto entry = found < 0 ? items.insert(items.end(), std::string(name)) : items.begin() + found;
    std::rotate(items.begin(), entry, entry + 1);
    db::writeSettingsLines(path_, items);
    items_ = std::move(items);
    return items_.front();
}

}  // namespace rsgz::admin
