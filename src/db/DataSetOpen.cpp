// Opening a record set: the statement, its columns and which of them can be written, the rows.
#include <algorithm>
#include <cstring>

#include "db/DataSetPrivate.h"
#include "db/LatinCase.h"
#include "db/SqlText.h"
#include "db/SqlTokens.h"

namespace rsgz::db {

using detail::Cell;
using detail::Row;
using detail::Rows;

void DataSet::open() { openAt(0); }

void DataSet::requery()
{
    // Like every move, a re-read first writes what is being typed.
    if (isEditing()) post();
    openAt(cur_);
}

bool DataSet::reread()
{
    if (!active() || isEditing() || arranged_ || hasPendingUpdates()) return false;
    const bool byKey = p_->keyColumn >= 0 && cur_ >= 0;
    const int64_t key = byKey ? p_->rows[static_cast<size_t>(cur_)]->key : 0;
    openAt(cur_, byKey ? &key : nullptr);
    return true;
}

// A statement that cannot be prepared, or fails on its way to the first row (a condition or a sort
// the engine cannot work out), leaves the dataset as it was; one that fails further on while its rows
// are read (the disk, a lock) leaves it closed.
void DataSet::openAt(int wantedRow, const int64_t* wantedKey)
{
    const std::string sql = toSqlite(sqlText());
    const SelectShape shape = analyzeSelect(sql);
    std::string keyTerm;
    Statement st = p_->prepareSelect(sql, shape, &keyTerm);
    if (st.columnCount() == 0)
        throw DataSetError(name_ + "：语句不返回记录，不能打开");
    Layout layout = p_->describeColumns(st, shape);
    layout.keyTerm = std::move(keyTerm);
    const bool firstRow = st.step();
    // The old rows go now, so that the new ones can take their place in the arena.
    p_->rows.clear();
    p_->deleted.clear();
    p_->editBuffer.reset();
    p_->arena.reuse();
    Rows rows;
    try {
        rows = p_->fetchRows(st, layout, firstRow);
    } catch (...) {
        close();
        throw;
    }
    Private::typeFromValues(layout, rows);

    fields_ = std::move(layout.fields);
    storedIndex_ = std::move(layout.storedIndex);
    p_->findTwins();
    p_->insertSql.clear();
    p_->insertFields.clear();
    p_->storedColumns = layout.storedColumns;
    p_->keyColumn = layout.keyColumn;
    p_->keyTerm = std::move(layout.keyTerm);
    readOnly_ = layout.readOnly;
    baseTable_ = std::move(layout.baseTable);
    p_->fieldByName.clear();
    for (size_t i = 0; i < fields_.size(); ++i) p_->fieldByName.emplace(fields_[i].name, static_cast<int>(i));
    p_->rows = std::move(rows);
    state_ = State::Browse;
    arranged_ = false;
    if (wantedKey && p_->keyColumn >= 0) {
        const auto at = std::find_if(p_->rows.begin(), p_->rows.end(), [&](const auto& r) { return r->key == *wantedKey; });
        if (at != p_->rows.end()) wantedRow = static_cast<int>(at - p_->rows.begin());
    }
    const int n = static_cast<int>(p_->rows.size());
    cur_ = n == 0 ? -1 : std::clamp(wantedRow, 0, n - 1);
    bof_ = cur_ <= 0;
    eof_ = n == 0;
    notify([this](DataSetListener* l) { l->dataSetReset(*this); });
    if (rules_.afterOpen) rules_.afterOpen(*this);
    afterMove();
}

void DataSet::reorderRows(const std::vector<int>& order) { arrangeRows(order, true); }

void DataSet::keepRows(const std::vector<int>& rows) { arrangeRows(rows, false); }

void DataSet::arrangeRows(const std::vector<int>& order, bool everyRow)
{
    checkBrowseMode();
    const size_t all = p_->rows.size();
    std::vector<char> seen(all, 0);
    bool ok = everyRow ? order.size() == all : order.size() <= all;
    for (size_t i = 0; ok && i < order.size(); ++i) {
        const int from = order[i];
        ok = from >= 0 && static_cast<size_t>(from) < all && !seen[static_cast<size_t>(from)];
        if (ok) seen[static_cast<size_t>(from)] = 1;
    }
    if (!ok) throw DataSetError(name_ + "：行的新顺序有误");
    const size_t n = order.size();
    Rows sorted;
    sorted.reserve(n);
    for (int from : order) sorted.push_back(std::move(p_->rows[static_cast<size_t>(from)]));
    p_->rows = std::move(sorted);
    arranged_ = true;
    cur_ = n == 0 ? -1 : 0;
    bof_ = true;
    eof_ = n == 0;
    notify([this](DataSetListener* l) { l->dataSetReset(*this); });
    afterMove();
}

void DataSet::close()
{
    p_->rows.clear();
    p_->deleted.clear();
    p_->editBuffer.reset();
    p_->arena.release();
    if (!active()) return;
    fields_.clear();
    storedIndex_.clear();
    p_->fieldByName.clear();
    state_ = State::Inactive;
    cur_ = -1;
    bof_ = eof_ = true;
    notify([this](DataSetListener* l) { l->dataSetReset(*this); });
}

namespace {
// Whether a statement orders or limits its rows itself (an "order by" or a "limit" outside
// parentheses).
bool ordersItsRows(const std::string& sql)
{
    int depth = 0;
    for (const sqltok::Token& t : sqltok::lex(sql)) {
        if (t.kind == sqltok::Tok::Punct && t.text == "(") ++depth;
        if (t.kind == sqltok::Tok::Punct && t.text == ")") --depth;
        if (depth == 0 && (sqltok::isWord(t, "order") || sqltok::isWord(t, "limit"))) return true;
    }
    return false;
}
}  // namespace

// A plain select over one table reads the table's row key too, under a name of its own, after the
// columns asked for: the table's key column as the catalogue names it. On a file a table without
// one is keyed by its row id; a server has no row ids, and such a table opens read-only there.
// Unordered, the file gives the rows in the order of their keys, and a list re-read stays as it
// was; a server gives them as they lie, and a changed row moves to the end: there such a list is
// ordered by its key.
Statement DataSet::Private::prepareSelect(const std::string& sql, const SelectShape& shape, std::string* keyTerm)
{
    keyTerm->clear();
    if (shape.simple) {
        const bool server = ds.conn_->isServer();
        std::string key;
        try {
            key = ds.conn_->keyColumn(shape.table);
        } catch (const DbError&) {
            if (server) throw;  // the catalogue is read in the running transaction
        }
        const std::string term = !key.empty() ? sqlIdent(key) : server ? std::string() : std::string("rowid");
        if (!term.empty()) {
            std::string keyed = sql;
            if (server && !ordersItsRows(sql)) keyed += "\n ORDER BY " + term;
            keyed.insert(shape.fromPos, ", " + term + " AS " + sqlIdent(kRowKey) + " ");
            try {
                Statement st = ds.conn_->prepareNative(keyed);
                *keyTerm = term;
                return st;
            } catch (const DbError&) {
                // A source without a row key (a view): it opens read-only. A server would spoil the
                // running transaction with a failed statement, so only its key column is tried.
                if (server) throw;
            }
        }
    }
    return ds.conn_->prepareNative(sql);
}

Layout DataSet::Private::describeColumns(Statement& s, const SelectShape& shape)
{
    Layout layout;
    const int n = s.columnCount();
    // The key is known by its name: only a column so named, last in the list, is the key.
    const bool hasKey = shape.simple && n > 1 && s.columnName(n - 1) == kRowKey;
    layout.storedColumns = hasKey ? n - 1 : n;
    layout.keyColumn = hasKey ? n - 1 : -1;
    if (ds.rowNumberField_) {
        layout.fields.push_back({"序号", FieldType::Integer, 0, true, true, {}});
        layout.storedIndex.push_back(-1);
    }
    bool allFromBase = hasKey;
    for (int c = 0; c < layout.storedColumns; ++c) {
        Field f;
        f.name = s.columnName(c);
        const std::string table = s.originTable(c);
        const std::string origin = s.originColumn(c);
        if (!table.empty() && !origin.empty()) {
            const Connection::ColumnInfo info = ds.conn_->columnInfo(table, origin);
            f.type = info.type;
            f.size = info.size;
            f.baseColumn = origin;
            if (!equalsIgnoringLatinCase(table, shape.table)) allFromBase = false;
        } else {
            f.readOnly = true;  // an expression is never written
            const std::string decl = s.declaredType(c);
            f.type = !decl.empty() ? fieldTypeFromDeclared(decl, &f.size) : expressionType(shape, f.name, c, &f.size);
            for (const CalcField& declared : ds.expressionTypes_)
                if (decl.empty() && equalsIgnoringLatinCase(declared.name, f.name)) f.type = declared.type;
        }
        layout.columnTypes.push_back(f.type);
        layout.fields.push_back(std::move(f));
        layout.storedIndex.push_back(c);
    }
    for (const CalcField& c : ds.extraCalc_) {
        layout.fields.push_back({c.name, c.type, c.size, true, true, {}});
        layout.storedIndex.push_back(-1);
    }
    // A list whose columns cannot all be traced to their items is not written at all.
    layout.readOnly = !allFromBase || !markWritable(layout, s, shape);
    if (layout.readOnly) {
        for (Field& f : layout.fields) f.readOnly = true;
    } else {
        layout.baseTable = shape.table;
    }
    return layout;
}

// A column is written back only when its item of the select list names it plainly ("姓名",
// "a.姓名 as 显示名", or one of "*"). The engine traces a sub-select over the same table, such as
// "(select 姓名 from 员工基本情况 b where …) as 首位", to a stored column as well, but its value
// belongs to another row.
bool DataSet::Private::markWritable(Layout& layout, Statement& st, const SelectShape& shape)
{
    if (shape.sources.empty()) return false;
    std::vector<const SelectShape::Item*> items;  // the item of each fetched column
    for (const SelectShape::Item& item : shape.items) {
        int count = 1;
        if (item.star) {
            Statement all = ds.conn_->prepareNative("SELECT * FROM " + sqlIdent(shape.table));
            count = all.columnCount();
        }
        items.insert(items.end(), static_cast<size_t>(count), &item);
    }
    const SelectShape::Source& source = shape.sources.front();
    if (static_cast<int>(items.size()) != layout.storedColumns) return false;
    for (size_t f = 0; f < layout.fields.size(); ++f) {
        Field& field = layout.fields[f];
        const int col = layout.storedIndex[f];
        if (col < 0 || field.readOnly) continue;
        const SelectShape::Item* item = items[static_cast<size_t>(col)];
        const std::string origin = st.originColumn(col);
        bool plain = (item->star || equalsIgnoringLatinCase(item->column, origin));
        if (plain && !item->qualifier.empty())
            plain = equalsIgnoringLatinCase(item->qualifier, source.alias)
                || equalsIgnoringLatinCase(item->qualifier, source.table);
        if (!plain) {
            field.readOnly = true;
            field.baseColumn.clear();
        }
    }
    return true;
}

// The type of an aggregate column follows from the column it is taken over: a sum of amounts is an
// amount, a count a whole number. Other expressions are typed by what they hold (typeFromValues).
FieldType DataSet::Private::expressionType(const SelectShape& shape, std::string_view column, int position, int* size)
{
    const SelectShape::Item* item = nullptr;
    for (const auto& it : shape.items)
        if (!it.alias.empty() && equalsIgnoringLatinCase(it.alias, column)) { item = &it; break; }
    if (!item)
        for (const auto& it : shape.items)
            if (it.alias.empty() && it.expr == column) { item = &it; break; }
    // A server names an expression without a name of its own by its function ("max", "count"),
    // not by its text: the item at the column's place is then the one, unless a "*" moved them.
    const bool starred = std::any_of(shape.items.begin(), shape.items.end(), [](const auto& it) { return it.star; });
    if (!item && !starred && position >= 0 && static_cast<size_t>(position) < shape.items.size()
        && shape.items[static_cast<size_t>(position)].alias.empty())
        item = &shape.items[static_cast<size_t>(position)];
    if (!item) return FieldType::Unknown;
    const AggregateCall call = parseAggregate(item->expr);
    using K = AggregateCall::Kind;
    if (call.kind == K::None) return FieldType::Unknown;
    if (call.kind == K::Count) return FieldType::Integer;
    Connection::ColumnInfo info;
    for (const SelectShape::Source& src : shape.sources) {
        if (call.column.empty() || info.type != FieldType::Unknown) break;
        if (!call.qualifier.empty() && !equalsIgnoringLatinCase(call.qualifier, src.alias)
            && !equalsIgnoringLatinCase(call.qualifier, src.table))
            continue;
        info = ds.conn_->columnInfo(src.table, call.column);
    }
    FieldType t = info.type == FieldType::AutoInc ? FieldType::Integer : info.type;
    if (call.kind == K::MinMax) {
        *size = info.size;
        return t;
    }
    if (t == FieldType::Currency) return t;  // sums and averages of amounts stay amounts
    if (call.kind == K::Sum && (t == FieldType::Integer || t == FieldType::YesNo)) return FieldType::Integer;
    return FieldType::Double;
}

namespace {
// A cell of a server's result, through the statement's column calls (amounts exactly).
void fetchServerCell(const Statement& st, int col, FieldType ft, Cell& cell, std::string& text)
{
    switch (st.columnType(col)) {
    case Statement::ColumnType::Null: cell.kind = Value::Kind::Null; return;
    case Statement::ColumnType::Integer:
        cell.i = st.integer(col);
        cell.kind = Value::Kind::Int;
        if (ft == FieldType::Currency) cell.i *= Money::kScale, cell.kind = Value::Kind::Money;
        else if (ft == FieldType::YesNo) cell.i = cell.i != 0, cell.kind = Value::Kind::Bool;
        else if (ft == FieldType::Double) cell.d = static_cast<double>(cell.i), cell.kind = Value::Kind::Double;
        return;
    case Statement::ColumnType::Real:
        if (ft == FieldType::Currency) cell.i = st.money(col).units(), cell.kind = Value::Kind::Money;
        else cell.d = st.number(col), cell.kind = Value::Kind::Double;
        return;
    default: {
        const std::string t = st.textOrEmpty(col);
        cell.kind = Value::Kind::Text;
        cell.t.off = static_cast<uint32_t>(text.size());
        cell.t.len = static_cast<uint32_t>(t.size());
        text += t;
    }
    }
}
}  // namespace

Rows DataSet::Private::fetchRows(Statement& st, const Layout& layout, bool firstRow)
{
    sqlite3_stmt* s = Native::statement(st);
    const bool server = s == nullptr;
    const int columns = layout.storedColumns;
    const size_t header = Row::headerBytes(columns);
    Rows rows;
    // A row is gathered here, then copied at its exact size into the arena.
    std::vector<char> kinds(Row::kindBytes(columns), 0);
    std::vector<Cell> cells(static_cast<size_t>(columns));
    std::string text;
    for (bool more = firstRow; more; more = st.step()) {
        text.clear();
        for (int col = 0; col < columns; ++col) {
            Cell& cell = cells[static_cast<size_t>(col)];
            const FieldType ft = layout.columnTypes[static_cast<size_t>(col)];
            if (server) {
                fetchServerCell(st, col, ft, cell, text);
                kinds[static_cast<size_t>(col)] = static_cast<char>(cell.kind);
                continue;
            }
            switch (sqlite3_column_type(s, col)) {
            case SQLITE_NULL: cell.kind = Value::Kind::Null; break;
            case SQLITE_INTEGER:
                cell.i = sqlite3_column_int64(s, col);
                cell.kind = Value::Kind::Int;
                if (ft == FieldType::Currency) cell.i *= Money::kScale, cell.kind = Value::Kind::Money;
                else if (ft == FieldType::YesNo) cell.i = cell.i != 0, cell.kind = Value::Kind::Bool;
                else if (ft == FieldType::Double) cell.d = static_cast<double>(cell.i), cell.kind = Value::Kind::Double;
                break;
            case SQLITE_FLOAT:
                cell.d = sqlite3_column_double(s, col);
                cell.kind = Value::Kind::Double;
                if (ft == FieldType::Currency) cell.i = Money::fromDouble(cell.d).units(), cell.kind = Value::Kind::Money;
                break;
            default: {
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, col));
                const auto len = static_cast<uint32_t>(sqlite3_column_bytes(s, col));
                cell.kind = Value::Kind::Text;
                cell.t.off = static_cast<uint32_t>(text.size());
                cell.t.len = len;
                text.append(p ? p : "", len);
            }
            }
            kinds[static_cast<size_t>(col)] = static_cast<char>(cell.kind);
        }
        char* block = arena.allocate(header + text.size());
        std::memcpy(block, kinds.data(), kinds.size());
        for (int col = 0; col < columns; ++col)
            std::memcpy(block + kinds.size() + static_cast<size_t>(col) * 8, &cells[static_cast<size_t>(col)].i, 8);
        std::memcpy(block + header, text.data(), text.size());
        auto row = std::make_unique<Row>();
        row->adopt(block, columns, static_cast<uint32_t>(text.size()));
        if (layout.keyColumn >= 0) row->key = st.integer(layout.keyColumn);
        rows.push_back(std::move(row));
    }
    return rows;
}

// An expression the statement does not type takes its type from what it holds: text when any row
// holds text, else a floating number when any row holds one, else a whole number.
void DataSet::Private::typeFromValues(Layout& layout, const Rows& rows)
{
    for (size_t f = 0; f < layout.fields.size(); ++f) {
        Field& field = layout.fields[f];
        const int col = layout.storedIndex[f];
        if (field.type != FieldType::Unknown || col < 0) continue;
        bool text = false, real = false, whole = false;
        for (const auto& r : rows) {
            switch (r->cell(col).kind) {
            case Value::Kind::Text: text = true; break;
            case Value::Kind::Double: real = true; break;
            case Value::Kind::Int: whole = true; break;
            default: break;
            }
            if (text) break;
        }
        field.type = text ? FieldType::Text : real ? FieldType::Double : whole ? FieldType::Integer : FieldType::Unknown;
    }
}

}  // namespace rsgz::db
