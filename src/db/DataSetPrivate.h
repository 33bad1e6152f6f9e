#pragma once
// What a record set keeps of its rows, and the steps that read and write them. Private to src/db.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/DataSetRows.h"
#include "db/Dialect.h"
#include "db/Native.h"

namespace rsgz::db {

// Field names are found ignoring the case of Latin letters, as the database compares them.
struct FoldedHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const;
};
struct FoldedEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

// The name of the hidden row key added to the select list of a writable statement.
inline constexpr std::string_view kRowKey = "__rk";

// What open learns of the statement's columns before it takes them over.
struct Layout {
    std::vector<Field> fields;
    std::vector<int> storedIndex;
    std::vector<FieldType> columnTypes;  // per fetched column
    int storedColumns = 0;
    int keyColumn = -1;
    bool readOnly = true;
    std::string baseTable;
    std::string keyTerm;  // how statements name the base table's row key
};

struct DataSet::Private {
    explicit Private(DataSet& owner) : ds(owner) {}

    DataSet& ds;
    detail::RowArena arena;
    detail::Rows rows;
    detail::Rows deleted;  // batch mode: rows deleted, not yet written
    std::unique_ptr<detail::Row> editBuffer;
    std::unordered_map<std::string, int, FoldedHash, FoldedEqual> fieldByName;
    std::string insertSql;          // made at the first insert after an open
    std::vector<int> insertFields;  // the fields it binds, in order
    // The writable fields that show one stored column form a ring: twin[i] is the next of them
    // after field i, -1 for a field that is alone.
    std::vector<int> twin;
    void findTwins();
    int keyColumn = -1;     // position of the hidden row key in the fetched columns, -1 when none
    // The base table's key as statements name it: its key column, or on a file the row id of a
    // table without one.
    std::string keyTerm;
    int storedColumns = 0;  // columns fetched per row (without the hidden key)

    // Reading (DataSetOpen.cpp).
    Statement prepareSelect(const std::string& sql, const SelectShape& shape, std::string* keyTerm);
    Layout describeColumns(Statement& st, const SelectShape& shape);
    bool markWritable(Layout& layout, Statement& st, const SelectShape& shape);  // false: cannot tell
    FieldType expressionType(const SelectShape& shape, std::string_view column, int position, int* size);
    // Reads the rows of a statement already stepped once; firstRow is what that step returned.
    detail::Rows fetchRows(Statement& st, const Layout& layout, bool firstRow);
    static void typeFromValues(Layout& layout, const detail::Rows& rows);

    // Values (DataSet.cpp): a value checked against its column and put into a row, into every
    // field that shows the same stored column.
    void storeValue(detail::Row& r, int index, const Value& v) const;
    void storeOne(detail::Row& r, int index, const Value& v) const;

    // Writing (DataSetWrite.cpp).
    std::vector<int> writableFields() const;  // one field per stored column
    int64_t writeInsert(detail::Row& r);
    void writeUpdate(const detail::Row& before, detail::Row& after);
    void writeDelete(const detail::Row& asRead);
    void bindCell(Statement& st, int param, const detail::Row& r, int index) const;
    std::string stillHolds(const Field& f, const detail::Cell& asRead) const;
    std::string stillHoldsAll(const std::vector<int>& fields, const detail::Row& asRead) const;
    void bindAsRead(Statement& st, int first, const std::vector<int>& fields, const detail::Row& asRead) const;
    // Why a write that changed nothing changed nothing: the row is gone, or it holds other values.
    [[noreturn]] void refuseStale(int64_t key, bool deleting, const std::string& sql);
};

}  // namespace rsgz::db

namespace rsgz::db {

template <class F>
void DataSet::notify(F f)
{
    if (controlsDisabled_ > 0 || listeners_.empty()) return;
    // A listener may remove itself while it is told.
    for (DataSetListener* l : std::vector<DataSetListener*>(listeners_)) f(l);
}

}  // namespace rsgz::db
