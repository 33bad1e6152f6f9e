#include "db/TypedDate.h"

#include <QDate>
#include <QTime>
#include <algorithm>

#include "db/Value.h"

namespace rsgz::db {

std::string typedDateText(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    QDate d;
    QTime t;
    if (parseDateText(text, &d, &t)) return dateText(d, t);
    if (text.size() != 8 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) return {};
    const auto digits = [&](size_t from, size_t n) {
        int v = 0;
        for (size_t i = from; i < from + n; ++i) v = v * 10 + (text[i] - '0');
        return v;
    };
    const int y = digits(0, 4), m = digits(4, 2), day = digits(6, 2);
    return QDate::isValid(y, m, day) ? dateText(QDate(y, m, day), QTime(0, 0)) : std::string();
}

}  // namespace rsgz::db
