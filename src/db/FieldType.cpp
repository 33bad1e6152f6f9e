#include "db/FieldType.h"

#include "db/Dialect.h"
#include "db/LatinCase.h"

#include <algorithm>
#include <cctype>

namespace rsgz::db {

std::string declaredType(FieldType type, int size) { return sqliteDialect().declaredType(type, size); }

namespace {
bool startsWith(const std::string& s, std::string_view p) { return s.rfind(p, 0) == 0; }
}  // namespace

FieldType fieldTypeFromDeclared(std::string_view decl, int* size)
{
    const std::string d = foldLatin(decl);
    if (size) *size = 0;
    if (startsWith(d, "varchar") || startsWith(d, "char") || startsWith(d, "nvarchar") || startsWith(d, "text(")) {
        int n = 255;
        const auto open = d.find('(');
        if (open != std::string::npos) n = std::atoi(d.c_str() + open + 1);
        if (size) *size = n;
        return FieldType::Text;
    }
    if (startsWith(d, "longtext") || startsWith(d, "memo") || d == "text") return FieldType::Memo;
    if (startsWith(d, "date")) return FieldType::DateTime;
    if (startsWith(d, "currency") || startsWith(d, "money")) return FieldType::Currency;
    if (startsWith(d, "double") || startsWith(d, "real") || startsWith(d, "float")) return FieldType::Double;
    if (startsWith(d, "yesno") || startsWith(d, "bit") || startsWith(d, "bool")) return FieldType::YesNo;
    if (startsWith(d, "int")) return FieldType::Integer;
    return FieldType::Unknown;
}

LiteralForm literalForm(FieldType type)
{
    switch (type) {
    case FieldType::Currency:
    case FieldType::Double:
        return LiteralForm::Bare;
    case FieldType::DateTime:
        return LiteralForm::DateHash;
    default:
        return LiteralForm::Quoted;
    }
}

bool isNumeric(FieldType type)
{
    return type == FieldType::Integer || type == FieldType::Double || type == FieldType::Currency
        || type == FieldType::AutoInc;
}

}  // namespace rsgz::db
