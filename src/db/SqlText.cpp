#include "db/SqlText.h"

#include <QDate>
#include <cstdlib>

namespace rsgz::db {

std::string joinSqlLines(const SqlLines& lines)
{
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) out += "\r\n";
        out += lines[i];
    }
    return out;
}

SqlLines splitSqlLines(std::string_view text)
{
    SqlLines lines;
    std::string cur;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.empty() || lines.empty()) lines.push_back(cur);
    return lines;
}

std::string sqlQuote(std::string_view value)
{
    std::string out;
    out.reserve(value.size() + 2);
    out += '\'';
    for (char c : value) {
        if (c == '\'') out += '\'';
        out += c;
    }
    out += '\'';
    return out;
}

std::string sqlLiteral(const Value& value, FieldType type)
{
    switch (literalForm(type)) {
    case LiteralForm::Bare: {
        if (type == FieldType::Currency) return value.toMoney().toSqlLiteral();
        const std::string s = value.toString();
        char* end = nullptr;
        std::strtod(s.c_str(), &end);
        return (!s.empty() && end && *end == '\0') ? s : Value(value.toDouble()).toString();
    }
    case LiteralForm::DateHash: {
        const QDate d = value.toDate();
        // A date that does not parse cannot go between "#" safely: quote it as text instead.
        if (!d.isValid()) return sqlQuote(value.toString());
        return "#" + d.toString(QStringLiteral("yyyy-MM-dd")).toStdString() + "#";
    }
    case LiteralForm::Quoted: break;
    }
    return sqlQuote(value.toString());
}

}  // namespace rsgz::db
