#include "query/ListQuery.h"

#include "db/ChineseCollation.h"
#include "db/DataSet.h"

namespace rsgz::query {

std::string asText(const std::string& column, db::FieldType type)
{
    // A date or a number may be an empty text in a file (an import put it there), never on a
    // server, whose dates and numbers compare with no text: both read it as its text.
    if (type == db::FieldType::Text || type == db::FieldType::Memo) return column;
    return "cast(" + column + " as text)";
}

Condition Condition::fixed(std::string programText)
{
    Condition c;
    c.kind = Kind::Fixed;
    c.column = std::move(programText);
    return c;
}

Condition Condition::equals(std::string column, db::Value value, db::FieldType type)
{
    Condition c;
    c.kind = Kind::Equals;
    c.column = std::move(column);
    c.value = std::move(value);
    c.type = type;
    return c;
}

namespace {
// What the user typed is searched for as it is: "%" and "_" would match anything, so they and the
// escape character itself are escaped, and then (only then) the escape clause is written.
std::string likeTerm(const std::string& column, const std::string& text)
{
    std::string escaped;
    bool special = false;
    for (const char ch : text) {
        if (ch == '%' || ch == '_' || ch == '\\') {
            escaped += '\\';
            special = true;
        }
        escaped += ch;
    }
    std::string term = column + " like " + db::sqlQuote("%" + escaped + "%");
    return special ? term + " escape " + db::sqlQuote("\\") : term;
}
}  // namespace

Condition Condition::like(std::string column, std::string text, db::FieldType type)
{
    Condition c;
    c.kind = Kind::Like;
    c.column = std::move(column);
    c.value = db::Value(std::move(text));
    c.type = type;
    return c;
}

Condition Condition::empty(std::string column, db::FieldType type)
{
    Condition c;
    c.kind = Kind::Empty;
    c.column = std::move(column);
    c.type = type;
    return c;
}

std::string Condition::sql() const
{
    switch (kind) {
    case Kind::Fixed: return column;
    case Kind::Equals: return column + "=" + db::sqlLiteral(value, type);
    case Kind::Like: return likeTerm(asText(column, type), value.toString());
    case Kind::Empty: return "(" + column + " is null or " + asText(column, type) + "='')";
    }
    return {};
}

bool Condition::operator==(const Condition& o) const
{
    return kind == o.kind && column == o.column && value == o.value && type == o.type;
}

db::SqlLines ListQuery::lines() const
{
    db::SqlLines out = select;
    for (size_t i = 0; i < conditions.size(); ++i) out.push_back((i == 0 ? "where " : "and ") + conditions[i].sql());
    if (!order.empty()) {
        std::string line = "order by ";
        for (size_t i = 0; i < order.size(); ++i) {
            if (i) line += ", ";
            line += db::sqlOrderTerm(order[i].column, order[i].descending);
        }
        out.push_back(line);
    }
    return out;
}

std::string ListQuery::whereTerm() const
{
    if (conditions.empty()) return {};
    std::string term = "(";
    for (size_t i = 0; i < conditions.size(); ++i) {
        if (i) term += " and ";
        term += conditions[i].sql();
    }
    return term + ")";
}

ListQuery& ListQuery::where(Condition c)
{
    conditions.push_back(std::move(c));
    return *this;
}

ListQuery& ListQuery::orderBy(std::string column, bool descending)
{
    order = {{std::move(column), descending}};
    return *this;
}

bool ListQuery::operator==(const ListQuery& o) const
{
    return select == o.select && conditions == o.conditions && order == o.order;
}

namespace {
bool isQueryable(const db::Field& f)
{
    if (f.calculated || f.baseColumn.empty() || f.name == "序号" || f.name == "编号") return false;
    // An aliased column is known to the statement by its source name only.
    return f.name == f.baseColumn;
}
}  // namespace

std::vector<std::string> queryableColumns(const db::DataSet& ds)
{
    std::vector<std::string> names;
    for (int i = 0; i < ds.fieldCount(); ++i)
        if (isQueryable(ds.field(i))) names.push_back(ds.field(i).name);
    return names;
}

std::optional<db::FieldType> columnOf(const db::DataSet& ds, const std::string& name)
{
    for (int i = 0; i < ds.fieldCount(); ++i) {
        const db::Field& f = ds.field(i);
        if (f.name == name && isQueryable(f)) return f.type;
    }
    return std::nullopt;
}

void applyQuery(db::DataSet& ds, const ListQuery& q)
{
    if (ds.isEditing()) ds.post();
    const db::SqlLines previous = ds.sqlLines();
    ds.setSql(q.lines());
    try {
        ds.open();
    } catch (...) {
        // A failed statement leaves the rows shown; the statement must stay the one they came from.
        ds.setSql(previous);
        throw;
    }
}

}  // namespace rsgz::query
