#include "query/BatchChange.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <charconv>

#include "app/Interaction.h"
#include "app/OperatorRights.h"
#include "app/TDM.h"
#include "db/Connection.h"

namespace rsgz::query {

namespace {

constexpr const char* kTable = "员工基本情况";
constexpr int kPersonnel = 1;

bool parsesWhole(const std::string& s, auto* out)
{
    const char* end = s.data() + s.size();
    const auto [p, ec] = std::from_chars(s.data(), end, *out);
    return ec == std::errc() && p == end;
}

std::optional<db::Value> yesNo(const std::string& s)
{
    for (const char* yes : {"是", "1", "True", "true", "TRUE"})
        if (s == yes) return db::Value(true);
    for (const char* no : {"否", "0", "False", "false", "FALSE"})
        if (s == no) return db::Value(false);
    return std::nullopt;
}

}  // namespace

std::optional<db::Value> typedValue(const std::string& text, db::FieldType type, int size)
{
    using T = db::FieldType;
    if (type == T::Text || type == T::Memo || type == T::Unknown) {
        if (type == T::Text && size > 0 && QString::fromStdString(text).size() > size) return std::nullopt;
        return db::Value(text);
    }
    if (text.empty()) return db::Value::null();
    switch (type) {
    case T::DateTime: {
        QDate d;
        QTime t;
        if (!db::parseDateText(text, &d, &t)) return std::nullopt;
        return db::Value(db::dateText(d, t));
    }
    case T::Integer:
    case T::AutoInc: {
        int64_t i = 0;
        if (!parsesWhole(text, &i) || i < INT32_MIN || i > INT32_MAX) return std::nullopt;
        return db::Value(i);
    }
    case T::Double: {
        double d = 0;
        if (!parsesWhole(text, &d)) return std::nullopt;
        return db::Value(d);
    }
    case T::Currency: {
        db::Money m;
        if (!db::Money::parse(text, &m)) return std::nullopt;
        return db::Value(m);
    }
    case T::YesNo: return yesNo(text);
    default: break;
    }
    return std::nullopt;
}

std::optional<db::SqlLines> BatchChange::statement(const Request& r) const
{
    const db::DataSet* list = queries_.dataSet(kPersonnel);
    if (!list || !list->active()) return std::nullopt;
    const std::optional<db::FieldType> type = columnOf(*list, r.field);
    if (!type) return std::nullopt;
    const int size = list->fieldByName(r.field).size;
    const std::optional<db::Value> newValue = typedValue(r.newValue, *type, size);
    if (!newValue) return std::nullopt;

    std::vector<std::string> conditions;
    if (r.useCurrentQuery) {
        const std::optional<ListQuery> current = queries_.current(kPersonnel);
        if (!current) return std::nullopt;
        // In parentheses: a copied "a or b" must not let the old-value condition bind to b alone.
        if (const std::string term = current->whereTerm(); !term.empty()) conditions.push_back(term);
    }
    if (!r.ignoreOld) {
        const std::optional<db::Value> old = typedValue(r.oldValue, *type, 0);
        if (!old) return std::nullopt;
        conditions.push_back(r.oldValue.empty() ? Condition::empty(r.field, *type).sql()
                                                : Condition::equals(r.field, *old, *type).sql());
    }
    const std::string literal = newValue->isNull() ? "null" : db::sqlLiteral(*newValue, *type);
    db::SqlLines lines = {std::string("update ") + kTable + " set " + r.field + "=" + literal};
    for (size_t i = 0; i < conditions.size(); ++i) lines.push_back((i ? "and " : "where ") + conditions[i]);
    return lines;
}

bool BatchChange::run(const Request& r)
{
    if (!app::runAction([this] { app::requireRight(dm_, "档案管理"); })) return false;
    db::DataSet* list = queries_.dataSet(kPersonnel);
    if (list && list->isEditing()) list->post();
    const std::optional<db::SqlLines> lines = statement(r);
    bool done = false;
    if (lines) {
        try {
            db::Transaction t(dm_.DMADO);
            dm_.runSql(*lines);
            t.commit();
            done = true;
        } catch (const db::DbError&) {
        }
    }
    if (!done) app::interaction().showMessage("修改失败！");
    // The list shows the same query with the new values; rows that no longer match drop out.
    if (list && list->active()) app::runAction([list] { list->requery(); });
    return done;
}

}  // namespace rsgz::query
