#include "TableWriter.h"

#include <stdexcept>

#include "db/Schema.h"

namespace rsgz::sample {

namespace {

const db::TableDef& tableDef(const std::string& table)
{
    const db::TableDef* def = db::findTable(table);
    if (!def) throw std::logic_error("sample data: no table " + table);
    return *def;
}

std::string insertSql(const db::TableDef& def)
{
    std::string cols, params;
    for (const db::ColumnDef& c : def.columns) {
        if (c.type == db::FieldType::AutoInc) continue;
        cols += (cols.empty() ? "\"" : ",\"") + c.name + "\"";
        params += params.empty() ? "?" : ",?";
    }
    return "insert into \"" + def.name + "\" (" + cols + ") values (" + params + ")";
}

size_t characters(const std::string& s)
{
    size_t n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}

void bind(db::Statement& st, int param, const db::Value& v)
{
    using K = db::Value::Kind;
    switch (v.kind()) {
    case K::Null: st.bindNull(param); break;
    case K::Int:
    case K::Bool: st.bind(param, int64_t{v.toInt()}); break;
    case K::Double:
    case K::Money: st.bind(param, v.toDouble()); break;
    case K::Text: st.bind(param, v.toString()); break;
    }
}

}  // namespace

TableWriter::TableWriter(db::Connection& conn, const std::string& table)
    : conn_(conn), table_(table), statement_(conn.prepareNative(insertSql(tableDef(table))))
{
    for (const db::ColumnDef& c : tableDef(table).columns) {
        if (c.type == db::FieldType::AutoInc) continue;
        index_[c.name] = columns_.size();
        columns_.push_back(c.name);
        widths_.push_back(c.type == db::FieldType::Text ? c.size : 0);
    }
    values_.resize(columns_.size());
}

void TableWriter::set(const std::string& column, db::Value value)
{
    const auto it = index_.find(column);
    if (it == index_.end()) throw std::logic_error("sample data: no column " + table_ + "." + column);
    const int width = widths_[it->second];
    if (width > 0 && characters(value.toString()) > static_cast<size_t>(width))
        throw std::logic_error("sample data: " + table_ + "." + column + " too long: " + value.toString());
    values_[it->second] = std::move(value);
}

void TableWriter::write()
{
    for (size_t i = 0; i < values_.size(); ++i) bind(statement_, static_cast<int>(i + 1), values_[i]);
    statement_.step();
    statement_.reset();
    lastKey_ = conn_.lastInsertRowId();
    for (db::Value& v : values_) v = db::Value();
}

}  // namespace rsgz::sample
