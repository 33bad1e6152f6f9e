#include "db/DataSet.h"

#include <sqlite3.h>

#include <QDate>
#include <QTime>
#include <QString>
#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>

#include "db/Connection.h"
#include "db/Dialect.h"

namespace rsgz::db {

namespace {

struct Cell {
    union {
        int64_t i;
        double d;
        struct {
            uint32_t off, len;
        } t;
    };
    Value::Kind kind;
};

bool equalsIgnoringLatinCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}

size_t utf8Length(std::string_view s)
{
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

const char* const kRowKey = "__rk";

}  // namespace

// One row's values in one block: a kind byte per column, an 8-byte slot per column (the number,
// or where the column's text lies in the text part), then the text. The rows read at open live in
// the dataset's arena, packed one after another; a row being edited or written back owns its block.
struct DataSet::Row {
    int64_t key = 0;
    RowStatus status = RowStatus::Unchanged;
    std::unique_ptr<Row> original;  // batch mode: the row as read, for a modified row

    static size_t kindBytes(int columns) { return (static_cast<size_t>(columns) + 7) & ~static_cast<size_t>(7); }
    static size_t headerBytes(int columns) { return kindBytes(columns) + static_cast<size_t>(columns) * 8; }

    void adopt(char* block, int columns, uint32_t textBytes)
    {
        own_.reset();
        data_ = block;
        columns_ = columns;
        text_ = textBytes;
        capacity_ = 0;
    }
    static std::unique_ptr<Row> blank(int columns)
    {
        auto r = std::make_unique<Row>();
        r->columns_ = columns;
        r->makeRoom(0);
        std::memset(r->data_, 0, headerBytes(columns));  // every kind Null
        return r;
    }
    Cell cell(int c) const
    {
        Cell x;
        x.kind = static_cast<Value::Kind>(data_[c]);
        std::memcpy(&x.i, slot(c), sizeof x.i);
        return x;
    }
    std::string_view text(const Cell& x) const { return {textBase() + x.t.off, x.t.len}; }
    Value get(int c) const
    {
        const Cell x = cell(c);
        switch (x.kind) {
        case Value::Kind::Null: return {};
        case Value::Kind::Int: return Value(x.i);
        case Value::Kind::Double: return Value(x.d);
        case Value::Kind::Money: return Value(Money::fromUnits(x.i));
        case Value::Kind::Bool: return Value(x.i != 0);
        case Value::Kind::Text: return Value(text(x));
        }
        return {};
    }
    void setCell(int c, const Cell& x)
    {
        makeRoom(0);
        data_[c] = static_cast<char>(x.kind);
        std::memcpy(slot(c), &x.i, sizeof x.i);
    }
    void setText(int c, std::string_view s)
    {
        makeRoom(s.size());
        Cell x;
        x.kind = Value::Kind::Text;
        x.t.off = text_;
        x.t.len = static_cast<uint32_t>(s.size());
        std::memcpy(textBase() + text_, s.data(), s.size());
        text_ += x.t.len;
        setCell(c, x);
    }
    bool sameCell(const Row& o, int c) const
    {
        const Cell a = cell(c), b = o.cell(c);
        if (a.kind != b.kind) return false;
        if (a.kind == Value::Kind::Null) return true;
        if (a.kind == Value::Kind::Text) return text(a) == o.text(b);
        if (a.kind == Value::Kind::Double) return a.d == b.d;
        return a.i == b.i;
    }
    // An owned copy holding only the text its cells still point at (edits append to the text).
    std::unique_ptr<Row> copy() const
    {
        auto r = blank(columns_);
        r->key = key;
        r->status = status;
        if (original) r->original = original->copy();
        for (int c = 0; c < columns_; ++c) {
            const Cell x = cell(c);
            if (x.kind == Value::Kind::Text) r->setText(c, text(x));
            else r->setCell(c, x);
        }
        return r;
    }
    size_t ownedBytes() const { return own_ ? capacity_ : 0; }

private:
    char* slot(int c) const { return data_ + kindBytes(columns_) + static_cast<size_t>(c) * 8; }
    char* textBase() const { return data_ + headerBytes(columns_); }
    // Makes the row own its block, with room for more text.
    void makeRoom(size_t more)
    {
        const size_t header = headerBytes(columns_);
        if (own_ && header + text_ + more <= capacity_) return;
        const size_t capacity = header + std::max<size_t>(64, 2 * (text_ + more));
        auto block = std::unique_ptr<char[]>(new char[capacity]);
        if (data_) std::memcpy(block.get(), data_, header + text_);
        own_ = std::move(block);
        data_ = own_.get();
        capacity_ = capacity;
    }

    char* data_ = nullptr;
    int columns_ = 0;
    uint32_t text_ = 0;
    size_t capacity_ = 0;
    std::unique_ptr<char[]> own_;
};

// The blocks of the rows read at open. A re-open reuses them; close() gives them back. Chunks start
// small, for the many short lists, and grow to large aligned ones that the system can back with large
// pages: twenty thousand employees then cost a few dozen page faults instead of thousands.
struct DataSet::RowArena {
    static constexpr size_t kFirstChunk = size_t{64} << 10;
    static constexpr size_t kLargeChunk = size_t{2} << 20;
    struct Free {
        void operator()(char* p) const { std::free(p); }
    };
    using Chunk = std::unique_ptr<char[], Free>;
    std::vector<std::pair<Chunk, size_t>> chunks;
    size_t current = 0, used = 0;

    static Chunk newChunk(size_t size)
    {
        const bool large = size >= kLargeChunk;
        char* p = static_cast<char*>(large ? std::aligned_alloc(kLargeChunk, size) : std::malloc(size));
        if (!p) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
        if (large) madvise(p, size, MADV_HUGEPAGE);
#endif
        return Chunk(p);
    }
    char* allocate(size_t n)
    {
        n = (n + 7) & ~static_cast<size_t>(7);
        for (; current < chunks.size(); ++current, used = 0) {
            if (used + n > chunks[current].second) continue;
            char* p = chunks[current].first.get() + used;
            used += n;
            return p;
        }
        size_t size = std::min(kLargeChunk, kFirstChunk << std::min<size_t>(chunks.size(), 8));
        if (n > size) size = (n + kLargeChunk - 1) / kLargeChunk * kLargeChunk;
        chunks.emplace_back(newChunk(size), size);
        current = chunks.size() - 1;
        used = n;
        return chunks.back().first.get();
    }
    void reuse() { current = used = 0; }
    void release()
    {
        chunks.clear();
        reuse();
    }
    size_t bytes() const
    {
        size_t n = 0;
        for (const auto& c : chunks) n += c.second;
        return n;
    }
};

// --- CalcRow -----------------------------------------------------------------------------------

Value CalcRow::get(std::string_view field) const
{
    const int idx = ds_.fieldIndex(field);
    if (idx < 0 || ds_.field(idx).calculated) return {};
    return ds_.valueAt(row_, idx);
}

void CalcRow::set(std::string_view field, Value v)
{
    for (auto& [name, value] : values_)
        if (name == field) { value = std::move(v); return; }
    values_.emplace_back(std::string(field), std::move(v));
}

// --- construction, statement ---------------------------------------------------------------------

DataSet::DataSet(Connection* conn, std::string name, SqlLines defaultSql)
    : conn_(conn), name_(std::move(name)), sql_(std::move(defaultSql)), arena_(std::make_unique<RowArena>())
{
}

DataSet::~DataSet() = default;

void DataSet::setSql(SqlLines lines)
{
    // A new statement applies at the next open; an open dataset keeps its rows until then.
    sql_ = std::move(lines);
}

void DataSet::addCalcField(std::string name, FieldType type, int size)
{
    extraCalc_.push_back({std::move(name), type, size});
}

size_t DataSet::FoldedHash::operator()(std::string_view s) const
{
    size_t h = 1469598103934665603ULL;
    for (unsigned char c : s) {
        if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + 32);
        h = (h ^ c) * 1099511628211ULL;
    }
    return h;
}

bool DataSet::FoldedEqual::operator()(std::string_view a, std::string_view b) const
{
    return equalsIgnoringLatinCase(a, b);
}

template <class F>
void DataSet::notify(F f)
{
    if (controlsDisabled_ > 0 || listeners_.empty()) return;
    // A listener may remove itself while it is told.
    for (DataSetListener* l : std::vector<DataSetListener*>(listeners_)) f(l);
}

void DataSet::addListener(DataSetListener* l)
{
    if (std::find(listeners_.begin(), listeners_.end(), l) == listeners_.end()) listeners_.push_back(l);
}

void DataSet::removeListener(DataSetListener* l) { std::erase(listeners_, l); }

void DataSet::enableControls()
{
    if (controlsDisabled_ == 0) return;
    if (--controlsDisabled_ == 0) {
        notify([this](DataSetListener* l) { l->dataSetReset(*this); });
        notify([this](DataSetListener* l) { l->currentChanged(*this); });
    }
}

void DataSet::sendStatus() const
{
    if (statusSink_) statusSink_(statusText());
}

// --- open, close ---------------------------------------------------------------------------------

// What open learns of the statement's columns before it takes them over.
struct DataSet::Layout {
    std::vector<Field> fields;
    std::vector<int> storedIndex;
    std::vector<FieldType> columnTypes;  // per fetched column
    int storedColumns = 0;
    int keyColumn = -1;
    bool readOnly = true;
    std::string baseTable;
};

void DataSet::open() { openAt(0); }

void DataSet::requery()
{
    // Like every move, a re-read first writes what is being typed.
    if (isEditing()) post();
    openAt(cur_);
}

// A statement that cannot be prepared, or fails on its way to the first row (a condition or a sort
// the engine cannot work out), leaves the dataset as it was; one that fails further on while its rows
// are read (the disk, a lock) leaves it closed.
void DataSet::openAt(int wantedRow)
{
    const std::string sql = toSqlite(sqlText());
    const SelectShape shape = analyzeSelect(sql);
    bool hasKey = false;
    Statement st = prepareSelect(sql, shape, &hasKey);
    if (sqlite3_column_count(st.get()) == 0)
        throw DataSetError(name_ + "：语句不返回记录，不能打开");
    Layout layout = describeColumns(st.get(), shape, hasKey);
    const bool firstRow = st.step();
    // The old rows go now, so that the new ones can take their place in the arena.
    rows_.clear();
    deleted_.clear();
    editBuffer_.reset();
    arena_->reuse();
    Rows rows;
    try {
        rows = fetchRows(st, layout, firstRow);
    } catch (...) {
        close();
        throw;
    }
    typeFromValues(layout, rows);

    fields_ = std::move(layout.fields);
    storedIndex_ = std::move(layout.storedIndex);
    insertSql_.clear();
    insertFields_.clear();
    storedColumns_ = layout.storedColumns;
    keyColumn_ = layout.keyColumn;
    readOnly_ = layout.readOnly;
    baseTable_ = std::move(layout.baseTable);
    fieldByName_.clear();
    for (size_t i = 0; i < fields_.size(); ++i) fieldByName_.emplace(fields_[i].name, static_cast<int>(i));
    rows_ = std::move(rows);
    state_ = State::Browse;
    const int n = static_cast<int>(rows_.size());
    cur_ = n == 0 ? -1 : std::clamp(wantedRow, 0, n - 1);
    bof_ = cur_ <= 0;
    eof_ = n == 0;
    notify([this](DataSetListener* l) { l->dataSetReset(*this); });
    if (rules_.afterOpen) rules_.afterOpen(*this);
    afterMove();
}

Statement DataSet::prepareSelect(const std::string& sql, const SelectShape& shape, bool* hasKey)
{
    *hasKey = false;
    if (shape.simple) {
        std::string keyed = sql;
        keyed.insert(shape.fromPos, std::string(", rowid AS \"") + kRowKey + "\" ");
        try {
            Statement st = conn_->prepareNative(keyed);
            *hasKey = true;
            return st;
        } catch (const DbError&) {
            // A source without a row key (a view): it opens read-only.
        }
    }
    return conn_->prepareNative(sql);
}

DataSet::Layout DataSet::describeColumns(sqlite3_stmt* s, const SelectShape& shape, bool hasKey)
{
    Layout layout;
    const int n = sqlite3_column_count(s);
    layout.storedColumns = hasKey ? n - 1 : n;
    layout.keyColumn = hasKey ? n - 1 : -1;
    if (rowNumberField_) {
        layout.fields.push_back({"序号", FieldType::Integer, 0, true, true, {}});
        layout.storedIndex.push_back(-1);
    }
    bool allFromBase = hasKey;
    for (int c = 0; c < layout.storedColumns; ++c) {
        Field f;
        f.name = sqlite3_column_name(s, c);
        const char* table = sqlite3_column_table_name(s, c);
        const char* origin = sqlite3_column_origin_name(s, c);
        if (table && origin) {
            const Connection::ColumnInfo info = conn_->columnInfo(table, origin);
            f.type = info.type;
            f.size = info.size;
            f.baseColumn = origin;
            if (!equalsIgnoringLatinCase(table, shape.table)) allFromBase = false;
        } else {
            f.readOnly = true;  // an expression is never written
            const char* decl = sqlite3_column_decltype(s, c);
            f.type = decl ? fieldTypeFromDeclared(decl, &f.size) : expressionType(shape, f.name, &f.size);
        }
        layout.columnTypes.push_back(f.type);
        layout.fields.push_back(std::move(f));
        layout.storedIndex.push_back(c);
    }
    for (const CalcField& c : extraCalc_) {
        layout.fields.push_back({c.name, c.type, c.size, true, true, {}});
        layout.storedIndex.push_back(-1);
    }
    layout.readOnly = !allFromBase;
    if (layout.readOnly) {
        for (Field& f : layout.fields) f.readOnly = true;
    } else {
        layout.baseTable = shape.table;
    }
    return layout;
}

// The type of an aggregate column follows from the column it is taken over: a sum of amounts is an
// amount, a count a whole number. Other expressions are typed by what they hold (typeFromValues).
FieldType DataSet::expressionType(const SelectShape& shape, std::string_view column, int* size)
{
    const SelectShape::Item* item = nullptr;
    for (const auto& it : shape.items)
        if (!it.alias.empty() && equalsIgnoringLatinCase(it.alias, column)) { item = &it; break; }
    if (!item)
        for (const auto& it : shape.items)
            if (it.alias.empty() && it.expr == column) { item = &it; break; }
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
        info = conn_->columnInfo(src.table, call.column);
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

DataSet::Rows DataSet::fetchRows(Statement& st, const Layout& layout, bool firstRow)
{
    sqlite3_stmt* s = st.get();
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
        char* block = arena_->allocate(header + text.size());
        std::memcpy(block, kinds.data(), kinds.size());
        for (int col = 0; col < columns; ++col)
            std::memcpy(block + kinds.size() + static_cast<size_t>(col) * 8, &cells[static_cast<size_t>(col)].i, 8);
        std::memcpy(block + header, text.data(), text.size());
        auto row = std::make_unique<Row>();
        row->adopt(block, columns, static_cast<uint32_t>(text.size()));
        if (layout.keyColumn >= 0) row->key = sqlite3_column_int64(s, layout.keyColumn);
        rows.push_back(std::move(row));
    }
    return rows;
}

// An expression the statement does not type takes its type from what it holds: text when any row
// holds text, else a floating number when any row holds one, else a whole number.
void DataSet::typeFromValues(Layout& layout, const Rows& rows)
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

void DataSet::close()
{
    rows_.clear();
    deleted_.clear();
    editBuffer_.reset();
    arena_->release();
    if (!active()) return;
    fields_.clear();
    storedIndex_.clear();
    fieldByName_.clear();
    state_ = State::Inactive;
    cur_ = -1;
    bof_ = eof_ = true;
    notify([this](DataSetListener* l) { l->dataSetReset(*this); });
}

// --- fields --------------------------------------------------------------------------------------

int DataSet::fieldIndex(std::string_view name) const
{
    const auto it = fieldByName_.find(name);
    return it == fieldByName_.end() ? -1 : it->second;
}

const Field& DataSet::fieldByName(std::string_view name) const
{
    const int i = fieldIndex(name);
    if (i < 0) throw DataSetError(name_ + "：找不到字段“" + std::string(name) + "”");
    return fields_[static_cast<size_t>(i)];
}

std::vector<std::string> DataSet::fieldNames() const
{
    std::vector<std::string> names;
    for (const Field& f : fields_) names.push_back(f.name);
    return names;
}

// --- cursor --------------------------------------------------------------------------------------

void DataSet::checkActive() const
{
    if (!active()) throw DataSetError(name_ + "：数据集未打开");
}

int DataSet::recordCount() const
{
    const int n = static_cast<int>(rows_.size());
    return state_ == State::Insert ? n - 1 : n;
}

int DataSet::recNo() const
{
    if (!active() || state_ == State::Insert || cur_ < 0) return -1;
    return cur_ + 1;
}

std::string DataSet::statusText() const { return std::to_string(recNo()) + "/" + std::to_string(recordCount()); }

void DataSet::checkBrowseMode()
{
    checkActive();
    if (isEditing()) post();
}

void DataSet::afterMove()
{
    notify([this](DataSetListener* l) { l->currentChanged(*this); });
    sendStatus();
    if (rules_.afterScroll) rules_.afterScroll(*this);
}

void DataSet::setCursor(int row)
{
    cur_ = row;
    bof_ = false;
    eof_ = false;
    afterMove();
}

void DataSet::first()
{
    checkBrowseMode();
    cur_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    afterMove();
}

void DataSet::last()
{
    checkBrowseMode();
    cur_ = static_cast<int>(rows_.size()) - 1;
    eof_ = true;
    bof_ = rows_.empty();
    afterMove();
}

void DataSet::next()
{
    checkBrowseMode();
    if (cur_ + 1 < static_cast<int>(rows_.size())) {
        setCursor(cur_ + 1);
    } else {
        eof_ = true;
    }
}

void DataSet::prior()
{
    checkBrowseMode();
    if (cur_ > 0) {
        setCursor(cur_ - 1);
    } else {
        bof_ = true;
    }
}

void DataSet::moveToRow(int row)
{
    checkActive();
    if (row < 0 || row >= static_cast<int>(rows_.size()) || row == cur_) return;
    checkBrowseMode();
    setCursor(row);
}

bool DataSet::locate(std::string_view field, const Value& value, bool ignoreCase, bool partial)
{
    checkBrowseMode();
    const int idx = fieldIndex(fieldByName(field).name);
    const std::string wanted = value.toString();
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        const std::string have = valueAt(r, idx).toString();
        std::string_view h = have;
        if (partial && h.size() > wanted.size()) h = h.substr(0, wanted.size());
        const bool hit = ignoreCase ? equalsIgnoringLatinCase(h, wanted) : h == wanted;
        if (hit) {
            if (r != cur_) setCursor(r);
            return true;
        }
    }
    return false;
}

// --- values --------------------------------------------------------------------------------------

size_t DataSet::heldBytes() const
{
    size_t n = arena_->bytes() + rows_.capacity() * sizeof(std::unique_ptr<Row>);
    for (const auto& r : rows_) n += sizeof(Row) + r->ownedBytes();
    return n;
}

Value DataSet::rowValue(int row, int index) const
{
    const int col = storedIndex_.at(static_cast<size_t>(index));
    if (col < 0) return calcValue(row, index);
    return rows_.at(static_cast<size_t>(row))->get(col);
}

Value DataSet::valueAt(int row, int index) const
{
    if (index < 0 || index >= fieldCount() || row < 0 || row >= static_cast<int>(rows_.size())) return {};
    const int col = storedIndex_[static_cast<size_t>(index)];
    if (col < 0) return calcValue(row, index);
    if (row == cur_ && editBuffer_) return editBuffer_->get(col);
    return rows_[static_cast<size_t>(row)]->get(col);
}

Value DataSet::calcValue(int row, int index) const
{
    const Field& f = fields_[static_cast<size_t>(index)];
    if (rowNumberField_ && index == 0) return Value((state_ == State::Insert && row == cur_) ? -1 : row + 1);
    if (!rules_.calculate) return {};
    CalcRow calc(*this, row);
    rules_.calculate(calc);
    for (const auto& [name, v] : calc.values())
        if (equalsIgnoringLatinCase(name, f.name)) return v;
    return {};
}

Value DataSet::value(std::string_view field) const
{
    checkActive();
    const int idx = fieldIndex(field);
    if (idx < 0) fieldByName(field);  // throws with the field's name
    return value(idx);
}

Value DataSet::value(int index) const
{
    checkActive();
    if (cur_ < 0) return {};
    return valueAt(cur_, index);
}

void DataSet::setValue(std::string_view field, const Value& v)
{
    checkActive();
    const int idx = fieldIndex(field);
    if (idx < 0) fieldByName(field);
    setValue(idx, v);
}

void DataSet::setValue(int index, const Value& v)
{
    checkActive();
    if (!isEditing() || !editBuffer_) throw DataSetError(name_ + "：不在编辑状态，不能修改数据");
    const Field& f = fields_.at(static_cast<size_t>(index));
    if (f.readOnly || f.type == FieldType::AutoInc) throw DataSetError("字段“" + f.name + "”不能修改");
    storeValue(*editBuffer_, index, v);
    notify([this](DataSetListener* l) { l->rowChanged(*this, cur_); });
}

namespace {
std::string trimmed(std::string_view s)
{
    const auto a = s.find_first_not_of(" \t\r\n");
    if (a == std::string_view::npos) return {};
    return std::string(s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1));
}
// An amount for a currency field: typed text read as a user writes it, any other value converted.
// What is no amount or does not fit is refused, naming the field, never stored as 0.
Money amountOf(const Value& v, const std::string& typed, const std::string& field)
{
    Money m;
    Money::Reading reading = Money::Reading::Ok;
    if (v.kind() == Value::Kind::Text) reading = Money::read(typed, &m);
    else if (v.kind() == Value::Kind::Money) m = v.toMoney();
    else if (!Money::fromDoubleChecked(v.toDouble(), &m)) reading = Money::Reading::OutOfRange;
    if (reading == Money::Reading::NotAnAmount)
        throw DataSetError("“" + v.toString() + "”不是有效的金额（字段“" + field + "”）");
    if (reading == Money::Reading::OutOfRange)
        throw DataSetError("“" + v.toString() + "”超出了金额能保存的范围（字段“" + field + "”）");
    return m;
}
}  // namespace

void DataSet::storeValue(Row& r, int index, const Value& v) const
{
    const Field& f = fields_[static_cast<size_t>(index)];
    const int col = storedIndex_[static_cast<size_t>(index)];
    Cell cell{};
    auto bad = [&](const char* what) {
        throw DataSetError("“" + v.toString() + "”不是有效的" + what + "（字段“" + f.name + "”）");
    };
    cell.kind = Value::Kind::Null;
    if (v.isNull()) return r.setCell(col, cell);
    if (f.type == FieldType::Text || f.type == FieldType::Memo) {
        const std::string t = v.toString();
        // A NUL would cut the text short in the file and in every program that reads it.
        if (t.find('\0') != std::string::npos) throw DataSetError("字段“" + f.name + "”的内容含有空字符（NUL），不能保存");
        if (f.type == FieldType::Text && f.size > 0 && utf8Length(t) > static_cast<size_t>(f.size))
            throw DataSetError("字段“" + f.name + "”最多只能输入 " + std::to_string(f.size) + " 个字符");
        r.setText(col, t);
        return;
    }
    const bool text = v.kind() == Value::Kind::Text;
    const std::string s = text ? trimmed(v.toString()) : std::string();
    // Clearing a number or a date leaves it empty, not zero.
    if (text && s.empty()) return r.setCell(col, cell);
    switch (f.type) {
    case FieldType::DateTime: {
        QDate d;
        QTime t;
        if (!text || !parseDateText(s, &d, &t)) bad("日期");
        r.setText(col, dateText(d, t));
        return;
    }
    case FieldType::Integer:
    case FieldType::AutoInc: {
        int64_t n = v.toInt();
        if (text) {
            bool ok = false;
            n = QString::fromStdString(s).toLongLong(&ok);
            if (!ok) bad("整数");
        }
        cell.kind = Value::Kind::Int;
        cell.i = n;
        return r.setCell(col, cell);
    }
    case FieldType::Double: {
        double d = v.toDouble();
        if (text) {
            bool ok = false;
            d = QString::fromStdString(s).toDouble(&ok);
            if (!ok || !std::isfinite(d)) bad("数字");
        }
        cell.kind = Value::Kind::Double;
        cell.d = d;
        return r.setCell(col, cell);
    }
    case FieldType::Currency: {
        cell.kind = Value::Kind::Money;
        cell.i = amountOf(v, s, f.name).units();
        return r.setCell(col, cell);
    }
    case FieldType::YesNo:
        cell.kind = Value::Kind::Bool;
        cell.i = v.toBool() ? 1 : 0;
        return r.setCell(col, cell);
    default: break;
    }
    if (text) return r.setText(col, v.toString());
    cell.kind = v.kind();
    if (v.kind() == Value::Kind::Double) cell.d = v.toDouble();
    else if (v.kind() == Value::Kind::Money) cell.i = v.toMoney().units();
    else cell.i = v.toInt();
    r.setCell(col, cell);
}

// --- editing -------------------------------------------------------------------------------------

void DataSet::beginInsert(bool atEnd)
{
    checkBrowseMode();
    if (readOnly()) throw DataSetError(name_ + "：这个列表是只读的，不能增加记录");
    if (rules_.beforeInsert) rules_.beforeInsert(*this);
    auto row = Row::blank(storedColumns_);
    row->status = RowStatus::Inserted;
    const int pos = (atEnd || cur_ < 0) ? static_cast<int>(rows_.size()) : cur_;
    auto buffer = row->copy();
    notify([this, pos](DataSetListener* l) { l->rowAboutToBeInserted(*this, pos); });
    rows_.insert(rows_.begin() + pos, std::move(row));
    editBuffer_ = std::move(buffer);
    insertReturn_ = cur_;
    cur_ = pos;
    bof_ = eof_ = false;
    state_ = State::Insert;
    notify([this, pos](DataSetListener* l) { l->rowInserted(*this, pos); });
    try {
        if (rules_.afterInsert) rules_.afterInsert(*this);
    } catch (...) {
        // Defaults that could not be filled (a refusal, a failed look-up): the insert adds nothing.
        if (state_ == State::Insert) cancel();
        throw;
    }
    afterMove();
}

void DataSet::append() { beginInsert(true); }
void DataSet::insert() { beginInsert(false); }

void DataSet::edit()
{
    checkActive();
    if (isEditing()) return;
    if (readOnly()) throw DataSetError(name_ + "：这个列表是只读的，不能修改");
    if (rows_.empty()) {
        append();
        return;
    }
    editBuffer_ = rows_[static_cast<size_t>(cur_)]->copy();
    editBuffer_->original.reset();
    state_ = State::Edit;
    notify([this](DataSetListener* l) { l->currentChanged(*this); });
}

// The written row replaces the one shown only once the database has taken it: a refusal or an
// error leaves the row in insert or edit mode with everything typed, ready to be corrected.
void DataSet::post()
{
    checkActive();
    if (!isEditing()) return;
    if (rules_.beforePost) rules_.beforePost(*this);
    if (!isEditing()) return;  // the rule posted or cancelled the row itself
    Row& before = *rows_[static_cast<size_t>(cur_)];
    Row& after = *editBuffer_;
    if (!batch_) {
        if (state_ == State::Insert) {
            after.key = writeInsert(after);
        } else {
            writeUpdate(before, after);
        }
        after.status = RowStatus::Unchanged;
    } else if (state_ == State::Insert) {
        after.status = RowStatus::Inserted;
    } else if (before.status == RowStatus::Unchanged) {
        after.status = RowStatus::Modified;
        after.original = before.copy();
    } else {
        after.status = before.status;
        if (before.original) after.original = before.original->copy();
    }
    rows_[static_cast<size_t>(cur_)] = after.copy();  // without the text that edits left behind
    editBuffer_.reset();
    state_ = State::Browse;
    notify([this](DataSetListener* l) { l->rowChanged(*this, cur_); });
    notify([this](DataSetListener* l) { l->currentChanged(*this); });
    if (rules_.afterPost) rules_.afterPost(*this);
}

void DataSet::cancel()
{
    checkActive();
    if (!isEditing()) return;
    editBuffer_.reset();
    if (state_ == State::Insert) {
        const int pos = cur_;
        notify([this, pos](DataSetListener* l) { l->rowAboutToBeRemoved(*this, pos); });
        rows_.erase(rows_.begin() + pos);
        state_ = State::Browse;
        notify([this, pos](DataSetListener* l) { l->rowRemoved(*this, pos); });
        const int n = static_cast<int>(rows_.size());
        cur_ = n == 0 ? -1 : std::clamp(insertReturn_ >= 0 ? insertReturn_ : pos, 0, n - 1);
        bof_ = eof_ = n == 0;
        afterMove();
        return;
    }
    state_ = State::Browse;
    notify([this](DataSetListener* l) { l->rowChanged(*this, cur_); });
    notify([this](DataSetListener* l) { l->currentChanged(*this); });
}

void DataSet::remove()
{
    checkActive();
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (rows_.empty()) throw DataSetError(name_ + "：没有可删除的记录");
    if (readOnly()) throw DataSetError(name_ + "：这个列表是只读的，不能删除记录");
    if (rules_.beforeDelete) rules_.beforeDelete(*this);
    Row& row = *rows_[static_cast<size_t>(cur_)];
    if (!batch_) writeDelete(row);
    editBuffer_.reset();
    state_ = State::Browse;
    const int pos = cur_;
    const bool pending = batch_ && row.status != RowStatus::Inserted;
    // Views may still read the row while they are told it goes; only then is it put aside.
    notify([this, pos](DataSetListener* l) { l->rowAboutToBeRemoved(*this, pos); });
    if (pending) deleted_.push_back(std::move(rows_[static_cast<size_t>(pos)]));
    rows_.erase(rows_.begin() + pos);
    notify([this, pos](DataSetListener* l) { l->rowRemoved(*this, pos); });
    const int n = static_cast<int>(rows_.size());
    cur_ = n == 0 ? -1 : std::min(pos, n - 1);
    bof_ = n == 0;
    eof_ = n == 0;
    if (rules_.afterDelete) rules_.afterDelete(*this);
    afterMove();
}

// --- write-back ----------------------------------------------------------------------------------

// Binds one stored cell straight from the row; its text stays where it is until the statement is
// reset, which happens before the row can change.
void DataSet::bindCell(sqlite3_stmt* st, int param, const Row& r, int index) const
{
    const Cell x = r.cell(storedIndex_[static_cast<size_t>(index)]);
    const FieldType type = fields_[static_cast<size_t>(index)].type;
    switch (x.kind) {
    case Value::Kind::Null: sqlite3_bind_null(st, param); return;
    case Value::Kind::Int:
    case Value::Kind::Bool: sqlite3_bind_int64(st, param, x.i); return;
    case Value::Kind::Double: sqlite3_bind_double(st, param, x.d); return;
    case Value::Kind::Money: sqlite3_bind_double(st, param, Money::fromUnits(x.i).toDouble()); return;
    case Value::Kind::Text: {
        const std::string_view s = r.text(x);
        if (type == FieldType::Currency || type == FieldType::Double) {
            sqlite3_bind_double(st, param, Value(s).toDouble());
            return;
        }
        sqlite3_bind_text(st, param, s.data(), static_cast<int>(s.size()), SQLITE_STATIC);
        return;
    }
    }
}

namespace {
std::string quoteIdent(std::string_view name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}
}  // namespace

bool DataSet::writable(int index) const
{
    const Field& f = fields_[static_cast<size_t>(index)];
    return !f.calculated && !f.readOnly && !f.baseColumn.empty() && f.type != FieldType::AutoInc;
}

// Every writable column is named, empty ones bound as null (no table of the schema has a default),
// so that one prepared statement, made once per open, serves every row of the dataset.
int64_t DataSet::writeInsert(Row& r)
{
    if (insertSql_.empty()) {
        std::string params;
        insertSql_ = "INSERT INTO " + quoteIdent(baseTable_);
        for (int i = 0; i < fieldCount(); ++i) {
            if (!writable(i)) continue;
            insertSql_ += insertFields_.empty() ? " (" : ",";
            insertSql_ += quoteIdent(fields_[static_cast<size_t>(i)].baseColumn);
            params += insertFields_.empty() ? "?" : ",?";
            insertFields_.push_back(i);
        }
        insertSql_ += insertFields_.empty() ? " DEFAULT VALUES" : ") VALUES (" + params + ")";
    }
    const std::string& sql = insertSql_;
    const std::vector<int>& bound = insertFields_;
    Statement st = conn_->prepareCached(sql);
    for (size_t p = 0; p < bound.size(); ++p)
        bindCell(st.get(), static_cast<int>(p + 1), r, bound[p]);
    st.step();
    const int64_t key = conn_->lastInsertRowId();
    // The key the database gave goes into the row's own key column.
    for (int i = 0; i < fieldCount(); ++i) {
        if (fields_[static_cast<size_t>(i)].type != FieldType::AutoInc || storedIndex_[static_cast<size_t>(i)] < 0) continue;
        Cell c{};
        c.kind = Value::Kind::Int;
        c.i = key;
        r.setCell(storedIndex_[static_cast<size_t>(i)], c);
    }
    return key;
}

void DataSet::writeUpdate(const Row& before, Row& after)
{
    std::string sets;
    std::vector<int> bound;
    for (int i = 0; i < fieldCount(); ++i) {
        if (!writable(i)) continue;
        const int col = storedIndex_[static_cast<size_t>(i)];
        if (after.sameCell(before, col)) continue;
        if (!bound.empty()) sets += ",";
        sets += quoteIdent(fields_[static_cast<size_t>(i)].baseColumn) + "=?";
        bound.push_back(i);
    }
    if (bound.empty()) return;
    Statement st = conn_->prepareCached("UPDATE " + quoteIdent(baseTable_) + " SET " + sets + " WHERE rowid=?");
    for (size_t p = 0; p < bound.size(); ++p)
        bindCell(st.get(), static_cast<int>(p + 1), after, bound[p]);
    sqlite3_bind_int64(st.get(), static_cast<int>(bound.size() + 1), after.key);
    st.step();
    if (sqlite3_changes(conn_->handle()) == 0)
        throw DbError(SQLITE_NOTFOUND, "找不到要更新的记录，它可能已被删除。", st.sql());
}

void DataSet::writeDelete(const Row& r)
{
    Statement st = conn_->prepareCached("DELETE FROM " + quoteIdent(baseTable_) + " WHERE rowid=?");
    sqlite3_bind_int64(st.get(), 1, r.key);
    st.step();
}

// --- batch mode ------------------------------------------------------------------------------------

bool DataSet::hasPendingUpdates() const
{
    if (!deleted_.empty()) return true;
    for (const auto& r : rows_)
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
        for (const auto& d : deleted_) writeDelete(*d);
        for (size_t i = 0; i < rows_.size(); ++i) {
            const Row& r = *rows_[i];
            if (r.status == RowStatus::Unchanged) continue;
            auto copy = r.copy();
            if (r.status == RowStatus::Inserted) copy->key = writeInsert(*copy);
            else writeUpdate(*r.original, *copy);
            copy->status = RowStatus::Unchanged;
            copy->original.reset();
            written.emplace_back(i, std::move(copy));
        }
        tx.commit();
    }
    for (auto& [i, row] : written) rows_[i] = std::move(row);
    deleted_.clear();
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
