// The facts of the engines the program can run on, and the pieces of statement text made from them.
#include "db/ChineseCollation.h"
#include "db/Dialect.h"

namespace rsgz::db {

const Dialect& sqliteDialect()
{
    // The type words are chosen so that SQLite's affinity rules give the storage the program needs
    // (FieldType.h); brackets are read as a name both by the program's own dialect and by SQLite.
    static const Dialect sqlite{
        .nameOpen = '[',
        .nameClose = ']',
        .nameFallback = '"',
        .textType = "VARCHAR(",
        .textTypeEnd = ")",
        .memoType = "LONGTEXT",
        .dateType = "DATETIME",
        .integerType = "INTEGER",
        .doubleType = "DOUBLE",
        .currencyType = "CURRENCY REAL",
        .yesNoType = "YESNO",
        .caseInsensitiveText = "COLLATE NOCASE",
        .autoIncrementKey = "INTEGER PRIMARY KEY AUTOINCREMENT",
        .rowLimitBefore = " limit ",
        .rowLimitAfter = "",
        .dateOpen = "'",
        .dateClose = "'",
        .collateWord = " collate ",
        .chineseCollation = kChineseCollation,
    };
    return sqlite;
}

std::string Dialect::quoteName(std::string_view name) const
{
    const bool plain = name.find(nameClose) == std::string_view::npos;
    std::string out;
    out.reserve(name.size() + 2);
    out += plain ? nameOpen : nameFallback;
    for (char c : name) {
        if (!plain && c == nameFallback) out += c;
        out += c;
    }
    out += plain ? nameClose : nameFallback;
    return out;
}

std::string Dialect::textTypeOf(std::string_view width) const
{
    return textType + std::string(width) + textTypeEnd + " " + caseInsensitiveText;
}

std::string Dialect::declaredType(FieldType type, int size) const
{
    switch (type) {
    case FieldType::Text: return textTypeOf(std::to_string(size > 0 ? size : 255));
    case FieldType::Memo: return memoType + " " + caseInsensitiveText;
    case FieldType::DateTime: return dateType;
    case FieldType::Integer: return integerType;
    case FieldType::Double: return doubleType;
    case FieldType::Currency: return currencyType;
    case FieldType::YesNo: return yesNoType;
    case FieldType::AutoInc: return autoIncrementKey;
    case FieldType::Unknown: break;
    }
    return "";
}

std::string Dialect::orderTerm(std::string_view column, bool descending) const
{
    std::string term(column);
    term += collateWord;
    term += chineseCollation;
    if (descending) term += " desc";
    return term;
}

}  // namespace rsgz::db
