#include "db/DataSet.h"

#include <sqlite3.h>

#include <QDate>
#include <QDateTime>
#include <QString>
#include <algorithm>
#include <cstring>

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

struct DataSet::Row {
    std::vector<Cell> cells;
    std::string text;
    int64_t key = 0;
    RowStatus status = RowStatus::Unchanged;
    std::unique_ptr<Row> original;  // batch mode: the row as read, for a modified row

    std::unique_ptr<Row> copy() const
    {
        auto r = std::make_unique<Row>();
        r->cells = cells;
        r->text = text;
        r->key = key;
        r->status = status;
        if (original) r->original = original->copy();
        return r;
    }
    Value get(int c) const
    {
        const Cell& cell = cells[static_cast<size_t>(c)];
        switch (cell.kind) {
        case Value::Kind::Null: return {};
        case Value::Kind::Int: return Value(cell.i);
        case Value::Kind::Double: return Value(cell.d);
        case Value::Kind::Money: return Value(Money::fromUnits(cell.i));
        case Value::Kind::Bool: return Value(cell.i != 0);
        case Value::Kind::Text: return Value(std::string_view(text.data() + cell.t.off, cell.t.len));
        }
        return {};
    }
    void setText(int c, std::string_view s)
    {
        Cell& cell = cells[static_cast<size_t>(c)];
        cell.kind = Value::Kind::Text;
        cell.t.off = static_cast<uint32_t>(text.size());
        cell.t.len = static_cast<uint32_t>(s.size());
        text.append(s);
    }
    bool sameCell(const Row& o, int c) const
    {
        const Cell& a = cells[static_cast<size_t>(c)];
        const Cell& b = o.cells[static_cast<size_t>(c)];
        if (a.kind != b.kind) return false;
        if (a.kind == Value::Kind::Null) return true;
        if (a.kind == Value::Kind::Text)
            return std::string_view(text.data() + a.t.off, a.t.len) == std::string_view(o.text.data() + b.t.off, b.t.len);
        if (a.kind == Value::Kind::Double) return a.d == b.d;
        return a.i == b.i;
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
    : conn_(conn), name_(std::move(name)), sql_(std::move(defaultSql))
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
    (void)size;
    extraCalc_.emplace_back(std::move(name), type);
}

template <class F>
void DataSet::notify(F f)
{
    if (controlsDisabled_ > 0) return;
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

void DataSet::open()
{
    if (active()) close();
    std::string sql = toSqlite(sqlText());
    const SelectShape shape = analyzeSelect(sql);
    std::string keyed = sql;
    if (shape.simple) keyed.insert(shape.fromPos, std::string(", rowid AS \"") + kRowKey + "\" ");

    std::unique_ptr<Statement> st;
    bool hasKey = shape.simple;
    try {
        st = std::make_unique<Statement>(conn_->prepareNative(keyed));
    } catch (const DbError&) {
        if (!shape.simple) throw;
        // A source without a row key (a view): open it read-only.
        st = std::make_unique<Statement>(conn_->prepareNative(sql));
        hasKey = false;
    }
    sqlite3_stmt* s = st->get();
    const int n = sqlite3_column_count(s);
    storedColumns_ = hasKey ? n - 1 : n;
    keyColumn_ = hasKey ? n - 1 : -1;

    fields_.clear();
    storedIndex_.clear();
    if (rowNumberField_) {
        fields_.push_back({"序号", FieldType::Integer, 0, true, true, {}});
        storedIndex_.push_back(-1);
    }
    bool allFromBase = hasKey;
    std::vector<FieldType> colTypes(static_cast<size_t>(storedColumns_));
    for (int c = 0; c < storedColumns_; ++c) {
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
            if (decl) f.type = fieldTypeFromDeclared(decl, &f.size);
        }
        colTypes[static_cast<size_t>(c)] = f.type;
        fields_.push_back(std::move(f));
        storedIndex_.push_back(c);
    }
    for (const auto& [name, type] : extraCalc_) {
        fields_.push_back({name, type, 0, true, true, {}});
        storedIndex_.push_back(-1);
    }
    readOnly_ = !allFromBase;
    baseTable_ = readOnly_ ? std::string() : shape.table;
    if (readOnly_)
        for (Field& f : fields_) f.readOnly = true;

    rows_.clear();
    deleted_.clear();
    size_t textHint = 64;
    while (st->step()) {
        auto row = std::make_unique<Row>();
        row->cells.resize(static_cast<size_t>(storedColumns_));
        row->text.reserve(textHint);
        for (int c = 0; c < storedColumns_; ++c) {
            Cell& cell = row->cells[static_cast<size_t>(c)];
            const FieldType ft = colTypes[static_cast<size_t>(c)];
            switch (sqlite3_column_type(s, c)) {
            case SQLITE_NULL: cell.kind = Value::Kind::Null; break;
            case SQLITE_INTEGER:
                cell.i = sqlite3_column_int64(s, c);
                cell.kind = Value::Kind::Int;
                if (ft == FieldType::Currency) cell.i *= Money::kScale, cell.kind = Value::Kind::Money;
                else if (ft == FieldType::YesNo) cell.i = cell.i != 0, cell.kind = Value::Kind::Bool;
                else if (ft == FieldType::Double) cell.d = static_cast<double>(cell.i), cell.kind = Value::Kind::Double;
                break;
            case SQLITE_FLOAT:
                cell.d = sqlite3_column_double(s, c);
                cell.kind = Value::Kind::Double;
                if (ft == FieldType::Currency) cell.i = Money::fromDouble(cell.d).units(), cell.kind = Value::Kind::Money;
                break;
            default: {
                const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
                row->setText(c, std::string_view(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(s, c))));
            }
            }
        }
        if (hasKey) row->key = sqlite3_column_int64(s, keyColumn_);
        textHint = std::max<size_t>(textHint, row->text.size());
        rows_.push_back(std::move(row));
    }
    // An expression column takes its type from what it holds.
    for (size_t f = 0; f < fields_.size(); ++f) {
        if (fields_[f].type != FieldType::Unknown || storedIndex_[f] < 0 || rows_.empty()) continue;
        for (const auto& r : rows_) {
            const Cell& cell = r->cells[static_cast<size_t>(storedIndex_[f])];
            if (cell.kind == Value::Kind::Null) continue;
            fields_[f].type = cell.kind == Value::Kind::Int ? FieldType::Integer
                            : cell.kind == Value::Kind::Double ? FieldType::Double
                                                               : FieldType::Memo;
            break;
        }
    }
    state_ = State::Browse;
    cur_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    notify([this](DataSetListener* l) { l->dataSetReset(*this); });
    if (rules_.afterOpen) rules_.afterOpen(*this);
    afterMove();
}

void DataSet::close()
{
    if (!active()) return;
    rows_.clear();
    deleted_.clear();
    editBuffer_.reset();
    fields_.clear();
    storedIndex_.clear();
    state_ = State::Inactive;
    cur_ = -1;
    bof_ = eof_ = true;
    notify([this](DataSetListener* l) { l->dataSetReset(*this); });
}

void DataSet::requery()
{
    const int pos = cur_;
    open();
    if (pos > 0 && !rows_.empty()) moveToRow(std::min(pos, rowCount() - 1));
}

// --- fields --------------------------------------------------------------------------------------

int DataSet::fieldIndex(std::string_view name) const
{
    for (size_t i = 0; i < fields_.size(); ++i)
        if (equalsIgnoringLatinCase(fields_[i].name, name)) return static_cast<int>(i);
    return -1;
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
    const int idx = fieldByName(field).name.empty() ? -1 : fieldIndex(field);
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

Value DataSet::storedValue(const Row& r, int index) const { return r.get(storedIndex_[static_cast<size_t>(index)]); }

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
    return value(fieldIndex(fieldByName(field).name));
}

Value DataSet::value(int index) const
{
    checkActive();
    if (cur_ < 0) return {};
    return valueAt(cur_, index);
}

void DataSet::setValue(std::string_view field, const Value& v) { setValue(fieldIndex(fieldByName(field).name), v); }

void DataSet::setValue(int index, const Value& v)
{
    checkActive();
    if (!isEditing() || !editBuffer_) throw DataSetError(name_ + "：不在编辑状态，不能修改数据");
    const Field& f = fields_.at(static_cast<size_t>(index));
    if (f.readOnly || f.type == FieldType::AutoInc) throw DataSetError("字段“" + f.name + "”不能修改");
    storeValue(*editBuffer_, index, v);
    notify([this](DataSetListener* l) { l->rowChanged(*this, cur_); });
}

void DataSet::storeValue(Row& r, int index, const Value& v) const
{
    const Field& f = fields_[static_cast<size_t>(index)];
    const int col = storedIndex_[static_cast<size_t>(index)];
    Cell& cell = r.cells[static_cast<size_t>(col)];
    auto bad = [&](const char* what) {
        throw DataSetError("“" + v.toString() + "”不是有效的" + what + "（字段“" + f.name + "”）");
    };
    if (v.isNull()) { cell.kind = Value::Kind::Null; return; }
    const bool text = v.kind() == Value::Kind::Text;
    const std::string s = text ? QString::fromStdString(v.toString()).trimmed().toStdString() : std::string();
    if (text && s.empty() && f.type != FieldType::Text && f.type != FieldType::Memo) {
        cell.kind = Value::Kind::Null;
        return;
    }
    switch (f.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        const std::string t = v.toString();
        if (f.type == FieldType::Text && f.size > 0 && utf8Length(t) > static_cast<size_t>(f.size))
            throw DataSetError("字段“" + f.name + "”最多只能输入 " + std::to_string(f.size) + " 个字符");
        r.setText(col, t);
        return;
    }
    case FieldType::DateTime: {
        if (!text) bad("日期");
        const QDateTime dt = Value(s).toDateTime();
        if (!dt.isValid()) bad("日期");
        const QString fmt = dt.time() == QTime(0, 0) ? QStringLiteral("yyyy-MM-dd") : QStringLiteral("yyyy-MM-dd HH:mm:ss");
        r.setText(col, dt.toString(fmt).toStdString());
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
        return;
    }
    case FieldType::Double: {
        double d = v.toDouble();
        if (text) {
            bool ok = false;
            d = QString::fromStdString(s).toDouble(&ok);
            if (!ok) bad("数字");
        }
        cell.kind = Value::Kind::Double;
        cell.d = d;
        return;
    }
    case FieldType::Currency: {
        Money m = v.toMoney();
        if (text && !Money::parse(s, &m)) bad("金额");
        cell.kind = Value::Kind::Money;
        cell.i = m.units();
        return;
    }
    case FieldType::YesNo:
        cell.kind = Value::Kind::Bool;
        cell.i = v.toBool() ? 1 : 0;
        return;
    case FieldType::Unknown: break;
    }
    if (text) {
        r.setText(col, v.toString());
    } else {
        cell.kind = v.kind();
        if (v.kind() == Value::Kind::Double) cell.d = v.toDouble();
        else if (v.kind() == Value::Kind::Money) cell.i = v.toMoney().units();
        else cell.i = v.toInt();
    }
}

// --- editing -------------------------------------------------------------------------------------

void DataSet::beginInsert(bool atEnd)
{
    checkBrowseMode();
    if (readOnly()) throw DataSetError(name_ + "：这个列表是只读的，不能增加记录");
    if (rules_.beforeInsert) rules_.beforeInsert(*this);
    auto row = std::make_unique<Row>();
    Cell empty{};
    empty.kind = Value::Kind::Null;
    row->cells.assign(static_cast<size_t>(storedColumns_), empty);
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
    if (rules_.afterInsert) rules_.afterInsert(*this);
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

void DataSet::post()
{
    checkActive();
    if (!isEditing()) return;
    if (rules_.beforePost) rules_.beforePost(*this);
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
    rows_[static_cast<size_t>(cur_)] = std::move(editBuffer_);
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
    if (!batch_) {
        writeDelete(row);
    } else if (row.status != RowStatus::Inserted) {
        deleted_.push_back(std::move(rows_[static_cast<size_t>(cur_)]));
    }
    editBuffer_.reset();
    state_ = State::Browse;
    const int pos = cur_;
    notify([this, pos](DataSetListener* l) { l->rowAboutToBeRemoved(*this, pos); });
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

namespace {
void bindCell(sqlite3_stmt* st, int param, const Value& v, FieldType type)
{
    switch (v.kind()) {
    case Value::Kind::Null: sqlite3_bind_null(st, param); return;
    case Value::Kind::Int:
    case Value::Kind::Bool: sqlite3_bind_int64(st, param, v.toInt()); return;
    case Value::Kind::Double: sqlite3_bind_double(st, param, v.toDouble()); return;
    case Value::Kind::Money: sqlite3_bind_double(st, param, v.toMoney().toDouble()); return;
    case Value::Kind::Text: {
        const std::string s = v.toString();
        if (type == FieldType::Currency || type == FieldType::Double) {
            sqlite3_bind_double(st, param, v.toDouble());
            return;
        }
        sqlite3_bind_text(st, param, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        return;
    }
    }
}

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

int64_t DataSet::writeInsert(Row& r)
{
    std::string cols, params;
    std::vector<int> bound;
    for (int i = 0; i < fieldCount(); ++i) {
        if (!writable(i) || r.cells[static_cast<size_t>(storedIndex_[static_cast<size_t>(i)])].kind == Value::Kind::Null)
            continue;
        if (!bound.empty()) cols += ",", params += ",";
        cols += quoteIdent(fields_[static_cast<size_t>(i)].baseColumn);
        params += "?";
        bound.push_back(i);
    }
    const std::string sql = bound.empty()
        ? "INSERT INTO " + quoteIdent(baseTable_) + " DEFAULT VALUES"
        : "INSERT INTO " + quoteIdent(baseTable_) + " (" + cols + ") VALUES (" + params + ")";
    Statement st = conn_->prepareNative(sql);
    for (size_t p = 0; p < bound.size(); ++p)
        bindCell(st.get(), static_cast<int>(p + 1), storedValue(r, bound[p]), fields_[static_cast<size_t>(bound[p])].type);
    st.step();
    const int64_t key = conn_->lastInsertRowId();
    // The key the database gave goes into the row's own key column.
    for (int i = 0; i < fieldCount(); ++i) {
        if (fields_[static_cast<size_t>(i)].type != FieldType::AutoInc || storedIndex_[static_cast<size_t>(i)] < 0) continue;
        Cell& c = r.cells[static_cast<size_t>(storedIndex_[static_cast<size_t>(i)])];
        c.kind = Value::Kind::Int;
        c.i = key;
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
    Statement st = conn_->prepareNative("UPDATE " + quoteIdent(baseTable_) + " SET " + sets + " WHERE rowid=?");
    for (size_t p = 0; p < bound.size(); ++p)
        bindCell(st.get(), static_cast<int>(p + 1), storedValue(after, bound[p]), fields_[static_cast<size_t>(bound[p])].type);
    sqlite3_bind_int64(st.get(), static_cast<int>(bound.size() + 1), after.key);
    st.step();
    if (sqlite3_changes(conn_->handle()) == 0)
        throw DbError(SQLITE_NOTFOUND, "找不到要更新的记录，它可能已被删除。", st.sql());
}

void DataSet::writeDelete(const Row& r)
{
    Statement st = conn_->prepareNative("DELETE FROM " + quoteIdent(baseTable_) + " WHERE rowid=?");
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
