// Writing a record set back to its base table: by the row key, and only over the values read.
#include "db/DataSetPrivate.h"
#include "db/LatinCase.h"
#include "db/SqlText.h"

namespace rsgz::db {

using detail::Cell;
using detail::Row;
using detail::RowStatus;

bool DataSet::writable(int index) const
{
    const Field& f = fields_[static_cast<size_t>(index)];
    return !f.calculated && !f.readOnly && !f.baseColumn.empty() && f.type != FieldType::AutoInc;
}

void DataSet::Private::findTwins()
{
    const int n = ds.fieldCount();
    twin.assign(static_cast<size_t>(n), -1);
    for (int i = 0; i < n; ++i) {
        if (!ds.writable(i) || twin[static_cast<size_t>(i)] >= 0) continue;
        int last = i;
        for (int j = i + 1; j < n; ++j) {
            if (!ds.writable(j)
                || !equalsIgnoringLatinCase(ds.fields_[static_cast<size_t>(j)].baseColumn, ds.fields_[static_cast<size_t>(i)].baseColumn))
                continue;
            twin[static_cast<size_t>(last)] = j;
            last = j;
        }
        if (last != i) twin[static_cast<size_t>(last)] = i;
    }
}

// A column selected twice ("姓名 as 显示名, 姓名") is one stored column: it is named once, by the
// first of its fields.
std::vector<int> DataSet::Private::writableFields() const
{
    std::vector<int> out;
    for (int i = 0; i < ds.fieldCount(); ++i) {
        if (!ds.writable(i)) continue;
        bool first = true;
        for (int j = twin[static_cast<size_t>(i)]; j >= 0 && j != i; j = twin[static_cast<size_t>(j)]) first = first && j > i;
        if (first) out.push_back(i);
    }
    return out;
}

namespace {

// A cell as it was read, for comparing with what is stored now.
void bindCellAsRead(Statement& st, int param, const Cell& x, const Row& r)
{
    switch (x.kind) {
    case Value::Kind::Null: st.bindNull(param); return;
    case Value::Kind::Int:
    case Value::Kind::Bool: st.bind(param, int64_t{x.i}); return;
    case Value::Kind::Double: st.bind(param, x.d); return;
    case Value::Kind::Money: st.bind(param, Money::fromUnits(x.i)); return;
    case Value::Kind::Text: st.bindKept(param, r.text(x)); return;
    }
}

}  // namespace

// Binds one stored cell straight from the row; its text stays where it is until the statement is
// reset, which happens before the row can change. Text in a number column goes in as its number.
void DataSet::Private::bindCell(Statement& st, int param, const Row& r, int index) const
{
    const Cell x = r.cell(ds.storedIndex_[static_cast<size_t>(index)]);
    const FieldType type = ds.fields_[static_cast<size_t>(index)].type;
    if (x.kind == Value::Kind::Text && (type == FieldType::Currency || type == FieldType::Double))
        st.bind(param, Value(r.text(x)).toDouble());
    else
        bindCellAsRead(st, param, x, r);
}

// Every writable column is named, empty ones bound as null (no table of the schema has a default),
// so that one prepared statement, made once per open, serves every row of the dataset.
int64_t DataSet::Private::writeInsert(Row& r)
{
    if (insertSql.empty()) {
        insertFields = writableFields();
        std::string names, params;
        for (int i : insertFields) {
            if (!names.empty()) names += ',', params += ',';
            names += sqlIdent(ds.fields_[static_cast<size_t>(i)].baseColumn);
            params += '?';
        }
        insertSql = "INSERT INTO " + sqlIdent(ds.baseTable_)
            + (insertFields.empty() ? " DEFAULT VALUES" : " (" + names + ") VALUES (" + params + ")");
        // The key the row was given comes back with the insert; a file's row id is asked after it.
        if (keyTerm != "rowid") insertSql += " RETURNING " + keyTerm;
    }
    Statement st = ds.conn_->prepareCached(insertSql);
    for (size_t p = 0; p < insertFields.size(); ++p)
        bindCell(st, static_cast<int>(p + 1), r, insertFields[p]);
    int64_t key = 0;
    if (keyTerm != "rowid") {
        if (!st.step()) throw DbError(DbError::Kind::Other, ds.name_ + "：新记录没有得到编号", {}, st.sql());
        key = st.integer(0);
        while (st.step()) {
        }
    } else {
        st.step();
        key = ds.conn_->lastInsertRowId();
    }
    // The key the database gave goes into the row's own key column.
    for (int i = 0; i < ds.fieldCount(); ++i) {
        if (ds.fields_[static_cast<size_t>(i)].type != FieldType::AutoInc || ds.storedIndex_[static_cast<size_t>(i)] < 0)
            continue;
        Cell c{};
        c.kind = Value::Kind::Int;
        c.i = key;
        r.setCell(ds.storedIndex_[static_cast<size_t>(i)], c);
    }
    return key;
}

// The changed columns are written only where the row still holds what they held when read, as
// the old engine did by default: a change made meanwhile through another dataset is never
// overwritten without a word.
void DataSet::Private::writeUpdate(const Row& before, Row& after)
{
    std::vector<int> changed;
    for (int i : writableFields()) {
        const int col = ds.storedIndex_[static_cast<size_t>(i)];
        if (!after.sameCell(before, col)) changed.push_back(i);
    }
    if (changed.empty()) return;
    std::string sets;
    for (int i : changed) {
        if (!sets.empty()) sets += ',';
        sets += sqlIdent(ds.fields_[static_cast<size_t>(i)].baseColumn);
        sets += "=?";
    }
    Statement st = ds.conn_->prepareCached("UPDATE " + sqlIdent(ds.baseTable_) + " SET " + sets + " WHERE " + keyTerm + "=?"
                                           + stillHoldsAll(changed, before));
    int param = 1;
    for (int i : changed) bindCell(st, param++, after, i);
    st.bind(param++, int64_t{after.key});
    bindAsRead(st, param, changed, before);
    st.step();
    if (ds.conn_->changedRows() == 0) refuseStale(after.key, false, st.sql());
}

// A row is deleted only while it holds every value it was read with.
void DataSet::Private::writeDelete(const Row& asRead)
{
    const std::vector<int> fields = writableFields();
    Statement st = ds.conn_->prepareCached("DELETE FROM " + sqlIdent(ds.baseTable_) + " WHERE " + keyTerm + "=?"
                                           + stillHoldsAll(fields, asRead));
    st.bind(1, int64_t{asRead.key});
    bindAsRead(st, 2, fields, asRead);
    st.step();
    if (ds.conn_->changedRows() == 0) refuseStale(asRead.key, true, st.sql());
}

// "the column still holds the value read" for one field, in the words of the connection's engine.
// An amount was read rounded to four decimals on a file; text matches byte for byte, whatever the
// column's collation.
std::string DataSet::Private::stillHolds(const Field& f, const Cell& asRead) const
{
    const std::string col = sqlIdent(f.baseColumn);
    if (asRead.kind == Value::Kind::Null) return col + " IS NULL";
    const Dialect& d = ds.conn_->dialect();
    switch (f.type) {
    case FieldType::Currency: return Dialect::sameCondition(d.sameAmount, col);
    case FieldType::YesNo: return Dialect::sameCondition(d.sameTruth, col);
    case FieldType::Text:
    case FieldType::Memo: return Dialect::sameCondition(d.sameText, col);
    default: return Dialect::sameCondition(d.sameValue, col);
    }
}

// The conditions that the fields' columns still hold the row's values, and their values bound
// from the parameter first on (a column read empty needs none).
std::string DataSet::Private::stillHoldsAll(const std::vector<int>& fields, const Row& asRead) const
{
    std::string checks;
    for (int i : fields)
        checks += " AND " + stillHolds(ds.fields_[static_cast<size_t>(i)], asRead.cell(ds.storedIndex_[static_cast<size_t>(i)]));
    return checks;
}

void DataSet::Private::bindAsRead(Statement& st, int first, const std::vector<int>& fields, const Row& asRead) const
{
    for (int i : fields) {
        const Cell x = asRead.cell(ds.storedIndex_[static_cast<size_t>(i)]);
        if (x.kind != Value::Kind::Null) bindCellAsRead(st, first++, x, asRead);
    }
}

void DataSet::Private::refuseStale(int64_t key, bool deleting, const std::string& sql)
{
    Statement st = ds.conn_->prepareCached("SELECT 1 FROM " + sqlIdent(ds.baseTable_) + " WHERE " + keyTerm + "=?");
    st.bind(1, int64_t{key});
    const bool gone = !st.step();
    // Named by its table, as the user knows it; the dataset's own name is the program's.
    std::string text = (ds.baseTable_.empty() ? ds.name_ : ds.baseTable_) + "：";
    if (gone)
        text += deleting ? "这条记录已经被删除了（在别的窗口或列表中），请刷新列表。"
                         : "这条记录已经被删除了（在别的窗口或列表中），修改没有保存。请刷新列表。";
    else
        text += deleting ? "这条记录在读出后已被别处修改，为免误删，没有删除。请刷新列表后再删除。"
                         : "这条记录在读出后已被别处修改，为免覆盖那些修改，本次修改没有保存。请刷新列表后重新修改。";
    throw DbError(DbError::Kind::StaleRow, text, {}, sql);
}

// --- batch mode ------------------------------------------------------------------------------------

bool DataSet::hasPendingUpdates() const
{
    if (!p_->deleted.empty()) return true;
    for (const auto& r : p_->rows)
        if (r->status != RowStatus::Unchanged) return true;
    return false;
}

void DataSet::applyUpdates()
{
    checkBrowseMode();
    if (!hasPendingUpdates()) return;
    // Written on copies: if any statement fails, the transaction rolls back and the pending
    // changes stay exactly as they were, ready to be corrected and applied again.
    std::vector<std::pair<size_t, std::unique_ptr<Row>>> written;
    {
        Transaction tx(*conn_);
        // A row changed and then deleted is compared as it was read.
        for (const auto& d : p_->deleted) p_->writeDelete(d->original ? *d->original : *d);
        for (size_t i = 0; i < p_->rows.size(); ++i) {
            const Row& r = *p_->rows[i];
            if (r.status == RowStatus::Unchanged) continue;
            auto copy = r.copy();
            if (r.status == RowStatus::Inserted) copy->key = p_->writeInsert(*copy);
            else p_->writeUpdate(*r.original, *copy);
            copy->status = RowStatus::Unchanged;
            copy->original.reset();
            written.emplace_back(i, std::move(copy));
        }
        tx.commit();
    }
    for (auto& [i, row] : written) p_->rows[i] = std::move(row);
    p_->deleted.clear();
    notify([this](DataSetListener* l) { l->dataSetReset(*this); });
    notify([this](DataSetListener* l) { l->currentChanged(*this); });
}

void DataSet::cancelUpdates()
{
    checkActive();
    if (isEditing()) cancel();
    if (!hasPendingUpdates()) return;
    requery();
}

}  // namespace rsgz::db
