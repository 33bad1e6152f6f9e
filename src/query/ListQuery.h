#pragma once
#include <optional>
#include <string>
#include <vector>

#include "db/FieldType.h"
#include "db/SqlText.h"
#include "db/Value.h"

namespace rsgz::db {
class DataSet;
}

namespace rsgz::query {

// The one way a list's query is narrowed and sorted. A module list's statement is kept as data — its
// select lines, its conditions and its order terms — and only turned into statement lines when it is
// handed to the database. Whoever narrows a list (the query trees, the quick search, the batch
// change, the employee picker, statistics, the salary view) adds Condition values and never looks
// into statement text, so a value or a column name can never change the shape of a statement.
//
// Rules every caller keeps:
// - A column name that came from a file, a box or the user goes in only after columnOf() (or
//   queryableColumns()) has accepted it as a real column of the dataset concerned; computed columns
//   (年龄, 本单位工龄, 工龄, 序号) and the row identity 编号 never are.
// - A value goes in as the stored value with the column's logical type; the literal is written by
//   db::sqlLiteral from it (dates ISO, numbers bare in C notation), never from a display text.

// One term of a where clause.
struct Condition {
    enum class Kind {
        Fixed,   // a condition written by the program itself (a join: "员工编号1=员工编号")
        Equals,  // column = literal of value by type
        Like,    // column like '%text%': text found literally, "%" and "_" included (in a column of
                 // another type than text: in its value as text)
        Empty,   // column is null or column = '' (a column of another type than text as its text)
    };
    Kind kind = Kind::Fixed;
    std::string column;  // Equals, Like, Empty: a checked column name; Fixed: the program's text
    db::Value value;     // Equals: the stored value; Like: the text searched for
    db::FieldType type = db::FieldType::Text;

    static Condition fixed(std::string programText);
    static Condition equals(std::string column, db::Value value, db::FieldType type);
    static Condition like(std::string column, std::string text, db::FieldType type = db::FieldType::Text);
    static Condition empty(std::string column, db::FieldType type = db::FieldType::Text);

    // The condition as statement text; an Empty condition comes in parentheses so that it binds as
    // one term whatever stands around it.
    std::string sql() const;
    bool operator==(const Condition& o) const;
};

struct OrderTerm {
    std::string column;  // a checked column name (or a qualified one written by the program)
    bool descending = false;
    bool operator==(const OrderTerm& o) const { return column == o.column && descending == o.descending; }
};

// A list's query: the select lines (select list and from, no conditions), then the conditions all
// joined by "and", then the order terms.
struct ListQuery {
    db::SqlLines select;
    std::vector<Condition> conditions;
    std::vector<OrderTerm> order;

    // The statement lines: the select lines, "where " + first condition, "and " + each further one,
    // and one "order by" line whose terms sort text in pinyin order (db::sqlOrderTerm).
    db::SqlLines lines() const;
    // All conditions as one parenthesised term ("(a and (b is null or b=''))"); empty when there is
    // none. For statements that add conditions of their own after a copied query.
    std::string whereTerm() const;

    ListQuery& where(Condition c);
    ListQuery& orderBy(std::string column, bool descending);  // replaces the order terms
    bool operator==(const ListQuery& o) const;
};

// Column names of an open dataset that may reach a statement: stored columns only, without the
// computed ones, 序号 and the row identity 编号.
std::vector<std::string> queryableColumns(const db::DataSet& ds);
// The logical type of a queryable column of the dataset, or nothing when name is not one.
std::optional<db::FieldType> columnOf(const db::DataSet& ds, const std::string& name);
// A column in a condition that compares it with text: the column itself when it holds text, else
// its value as text.
std::string asText(const std::string& column, db::FieldType type);

// Puts a query into a dataset and opens it. A pending edit is posted first. When the statement
// fails, the dataset keeps its statement and its rows and the error is thrown on.
void applyQuery(db::DataSet& ds, const ListQuery& q);

}  // namespace rsgz::query
