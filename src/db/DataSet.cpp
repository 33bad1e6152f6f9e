// The record set's cursor, values and editing states.
#include "db/DataSet.h"

#include <QDate>
#include <QString>
#include <QTime>

#include <algorithm>
#include <cmath>

#include "db/DataSetPrivate.h"
#include "db/LatinCase.h"

namespace rsgz::db {

using detail::Cell;
using detail::Row;
using detail::RowStatus;

namespace {

size_t utf8Length(std::string_view s)
{
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace

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
    : conn_(conn), name_(std::move(name)), sql_(std::move(defaultSql)), p_(std::make_unique<Private>(*this))
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

size_t FoldedHash::operator()(std::string_view s) const
{
    size_t h = 1469598103934665603ULL;
    for (unsigned char c : s) {
        h = (h ^ static_cast<unsigned char>(foldLatin(static_cast<char>(c)))) * 1099511628211ULL;
    }
    return h;
}

bool FoldedEqual::operator()(std::string_view a, std::string_view b) const
{
    return equalsIgnoringLatinCase(a, b);
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

// --- fields --------------------------------------------------------------------------------------

int DataSet::fieldIndex(std::string_view name) const
{
    const auto it = p_->fieldByName.find(name);
    return it == p_->fieldByName.end() ? -1 : it->second;
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

int DataSet::rowCount() const { return static_cast<int>(p_->rows.size()); }

int DataSet::recordCount() const
{
    const int n = static_cast<int>(p_->rows.size());
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
    cur_ = p_->rows.empty() ? -1 : 0;
    bof_ = true;
    eof_ = p_->rows.empty();
    afterMove();
}

void DataSet::last()
{
    checkBrowseMode();
    cur_ = static_cast<int>(p_->rows.size()) - 1;
    eof_ = true;
    bof_ = p_->rows.empty();
    afterMove();
}

void DataSet::next()
{
    checkBrowseMode();
    if (cur_ + 1 < static_cast<int>(p_->rows.size())) {
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
    if (row < 0 || row >= static_cast<int>(p_->rows.size()) || row == cur_) return;
    checkBrowseMode();
    setCursor(row);
}

bool DataSet::locate(std::string_view field, const Value& value, bool ignoreCase, bool partial)
{
    checkBrowseMode();
    const int idx = fieldIndex(fieldByName(field).name);
    const std::string wanted = value.toString();
    for (int r = 0; r < static_cast<int>(p_->rows.size()); ++r) {
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
    size_t n = p_->arena.bytes() + p_->rows.capacity() * sizeof(std::unique_ptr<Row>);
    for (const auto& r : p_->rows) n += sizeof(Row) + r->ownedBytes();
    return n;
}

Value DataSet::rowValue(int row, int index) const
{
    const int col = storedIndex_.at(static_cast<size_t>(index));
    if (col < 0) return calcValue(row, index);
    return p_->rows.at(static_cast<size_t>(row))->get(col);
}

Value DataSet::valueAt(int row, int index) const
{
    if (index < 0 || index >= fieldCount() || row < 0 || row >= static_cast<int>(p_->rows.size())) return {};
    const int col = storedIndex_[static_cast<size_t>(index)];
    if (col < 0) return calcValue(row, index);
    if (row == cur_ && p_->editBuffer) return p_->editBuffer->get(col);
    return p_->rows[static_cast<size_t>(row)]->get(col);
}

Value DataSet::calcValue(int row, int index) const
{
    const Field& f = fields_[static_cast<size_t>(index)];
    if (rowNumberField_ && index == 0) return Value((state_ == State::Insert && row == cur_) ? -1 : row + 1);
    if (!rules_.calculate) return {};
    CalcRow calc(*this, row, f.name);
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
    if (!isEditing() || !p_->editBuffer) throw DataSetError(name_ + "：不在编辑状态，不能修改数据");
    const Field& f = fields_.at(static_cast<size_t>(index));
    if (f.readOnly || f.type == FieldType::AutoInc) throw DataSetError("字段“" + f.name + "”不能修改");
    p_->storeValue(*p_->editBuffer, index, v);
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

// Every field that shows the same stored column shows the new value too, so that the row is
// written with one value for it whichever of them was typed into.
void DataSet::Private::storeValue(Row& r, int index, const Value& v) const
{
    storeOne(r, index, v);
    for (int i = twin[static_cast<size_t>(index)]; i >= 0 && i != index; i = twin[static_cast<size_t>(i)]) storeOne(r, i, v);
}

void DataSet::Private::storeOne(Row& r, int index, const Value& v) const
{
    const Field& f = ds.fields_[static_cast<size_t>(index)];
    const int col = ds.storedIndex_[static_cast<size_t>(index)];
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
    auto row = Row::blank(p_->storedColumns);
    row->status = RowStatus::Inserted;
    const int pos = (atEnd || cur_ < 0) ? static_cast<int>(p_->rows.size()) : cur_;
    auto buffer = row->copy();
    notify([this, pos](DataSetListener* l) { l->rowAboutToBeInserted(*this, pos); });
    p_->rows.insert(p_->rows.begin() + pos, std::move(row));
    p_->editBuffer = std::move(buffer);
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
    if (p_->rows.empty()) {
        append();
        return;
    }
    p_->editBuffer = p_->rows[static_cast<size_t>(cur_)]->copy();
    p_->editBuffer->original.reset();
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
    Row& before = *p_->rows[static_cast<size_t>(cur_)];
    Row& after = *p_->editBuffer;
    if (!batch_) {
        if (state_ == State::Insert) {
            after.key = p_->writeInsert(after);
        } else {
            p_->writeUpdate(before, after);
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
    p_->rows[static_cast<size_t>(cur_)] = after.copy();  // without the text that edits left behind
    p_->editBuffer.reset();
    state_ = State::Browse;
    notify([this](DataSetListener* l) { l->rowChanged(*this, cur_); });
    notify([this](DataSetListener* l) { l->currentChanged(*this); });
    if (rules_.afterPost) rules_.afterPost(*this);
}

void DataSet::cancel()
{
    checkActive();
    if (!isEditing()) return;
    p_->editBuffer.reset();
    if (state_ == State::Insert) {
        const int pos = cur_;
        notify([this, pos](DataSetListener* l) { l->rowAboutToBeRemoved(*this, pos); });
        p_->rows.erase(p_->rows.begin() + pos);
        state_ = State::Browse;
        notify([this, pos](DataSetListener* l) { l->rowRemoved(*this, pos); });
        const int n = static_cast<int>(p_->rows.size());
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
    if (p_->rows.empty()) throw DataSetError(name_ + "：没有可删除的记录");
    if (readOnly()) throw DataSetError(name_ + "：这个列表是只读的，不能删除记录");
    if (rules_.beforeDelete) rules_.beforeDelete(*this);
    Row& row = *p_->rows[static_cast<size_t>(cur_)];
    if (!batch_) p_->writeDelete(row);
    p_->editBuffer.reset();
    state_ = State::Browse;
    const int pos = cur_;
    const bool pending = batch_ && row.status != RowStatus::Inserted;
    // Views may still read the row while they are told it goes; only then is it put aside.
    notify([this, pos](DataSetListener* l) { l->rowAboutToBeRemoved(*this, pos); });
    if (pending) p_->deleted.push_back(std::move(p_->rows[static_cast<size_t>(pos)]));
    p_->rows.erase(p_->rows.begin() + pos);
    notify([this, pos](DataSetListener* l) { l->rowRemoved(*this, pos); });
    const int n = static_cast<int>(p_->rows.size());
    cur_ = n == 0 ? -1 : std::min(pos, n - 1);
    bof_ = n == 0;
    eof_ = n == 0;
    if (rules_.afterDelete) rules_.afterDelete(*this);
    afterMove();
}

}  // namespace rsgz::db
