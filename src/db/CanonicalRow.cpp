#include "db/CanonicalRow.h"

#include <sodium.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "db/Money.h"
#include "db/SqlText.h"

namespace rsgz::db {

namespace {

using ColumnType = Statement::ColumnType;

[[noreturn]] void notOfType(const std::string& table, const ColumnDef& column, const std::string& value)
{
    throw DbError(DbError::Kind::Other,
                  "表“" + table + "”的列“" + column.name + "”中有一个不是它的类型的值：“" + value + "”。");
}

std::string shortestNumber(double d)
{
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);
    return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

bool parseWhole(const std::string& text, int64_t* out)
{
    const char* b = text.data();
    const char* e = b + text.size();
    if (b != e && *b == '+') ++b;
    auto [stop, ec] = std::from_chars(b, e, *out);
    if (ec == std::errc() && stop == e) return true;
    double d = 0;
    auto [dstop, dec] = std::from_chars(b, e, d);
    if (dec != std::errc() || dstop != e || d != std::floor(d) || std::fabs(d) > 9.0e18) return false;
    *out = static_cast<int64_t>(d);
    return true;
}

bool parseNumber(const std::string& text, double* out)
{
    const char* b = text.data();
    const char* e = b + text.size();
    if (b != e && *b == '+') ++b;
    auto [stop, ec] = std::from_chars(b, e, *out);
    return ec == std::errc() && stop == e;
}

// A date as the program writes it: ISO, a space before the time, no time when it is midnight.
std::string canonicalDate(std::string_view v)
{
    if (v.size() == 23 && v.ends_with(".000")) v.remove_suffix(4);
    if (v.size() == 19 && v.substr(11) == "00:00:00" && (v[10] == ' ' || v[10] == 'T')) v.remove_suffix(9);
    std::string text(v);
    if (text.size() > 10 && text[10] == 'T') text[10] = ' ';
    return text;
}

std::optional<std::string> wholeValue(const Statement& st, int col, const std::string& table, const ColumnDef& c)
{
    int64_t v = 0;
    if (st.columnType(col) == ColumnType::Integer) {
        v = st.integer(col);
    } else {
        const std::string text = st.textOrEmpty(col);
        if (text.empty()) return std::nullopt;
        if (!parseWhole(text, &v)) notOfType(table, c, text);
    }
    if (c.type == FieldType::YesNo) return std::string(v != 0 ? "1" : "0");
    return std::to_string(v);
}

std::optional<std::string> amountValue(const Statement& st, int col, const std::string& table, const ColumnDef& c)
{
    const ColumnType kind = st.columnType(col);
    if (kind == ColumnType::Integer || kind == ColumnType::Real) return st.money(col).toString(4);
    const std::string text = st.textOrEmpty(col);
    if (text.empty()) return std::nullopt;
    Money m;
    if (Money::read(text, &m) != Money::Reading::Ok) notOfType(table, c, text);
    return m.toString(4);
}

std::optional<std::string> numberValue(const Statement& st, int col, const std::string& table, const ColumnDef& c)
{
    const ColumnType kind = st.columnType(col);
    if (kind == ColumnType::Integer || kind == ColumnType::Real) return shortestNumber(st.number(col));
    const std::string text = st.textOrEmpty(col);
    if (text.empty()) return std::nullopt;
    double d = 0;
    if (!parseNumber(text, &d)) notOfType(table, c, text);
    return shortestNumber(d);
}

}  // namespace

std::optional<std::string> canonicalValue(const Statement& st, int col, const std::string& table, const ColumnDef& column)
{
    if (st.isNull(col)) return std::nullopt;
    switch (column.type) {
    case FieldType::Integer:
    case FieldType::AutoInc:
    case FieldType::YesNo: return wholeValue(st, col, table, column);
    case FieldType::Currency: return amountValue(st, col, table, column);
    case FieldType::Double: return numberValue(st, col, table, column);
    case FieldType::DateTime: {
        const std::string text = st.textOrEmpty(col);
        if (text.empty()) return std::nullopt;
        return canonicalDate(text);
    }
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Unknown: break;
    }
    return st.text(col);
}

void readCanonicalRow(const Statement& st, const TableDef& table, CanonicalRow& row)
{
    row.resize(table.columns.size());
    for (size_t i = 0; i < table.columns.size(); ++i)
        row[i] = canonicalValue(st, static_cast<int>(i), table.name, table.columns[i]);
}

std::string selectAllSql(const TableDef& table)
{
    std::string sql = "select ";
    for (size_t i = 0; i < table.columns.size(); ++i) {
        if (i > 0) sql += ", ";
        sql += sqlIdent(table.columns[i].name);
    }
    return sql + " from " + sqlIdent(table.name);
}

void RowDigest::add(const CanonicalRow& row)
{
    // Each value with its length, a null apart from every text: ("a", "bc") never hashes as ("ab", "c").
    crypto_generichash_state state;
    std::array<unsigned char, 16> hash{};
    crypto_generichash_init(&state, nullptr, 0, hash.size());
    for (const std::optional<std::string>& v : row) {
        unsigned char head[9] = {0};
        if (v) {
            head[0] = 1;
            const uint64_t len = v->size();
            for (int i = 0; i < 8; ++i) head[1 + i] = static_cast<unsigned char>(len >> (8 * i));
        }
        crypto_generichash_update(&state, head, v ? sizeof head : 1);
        if (v) crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(v->data()), v->size());
    }
    crypto_generichash_final(&state, hash.data(), hash.size());
    for (int lane = 0; lane < 2; ++lane) {
        uint64_t part = 0;
        std::memcpy(&part, hash.data() + 8 * lane, 8);
        sum_[lane] += part;  // wraps around: a sum modulo 2^64
    }
    ++rows_;
}

TableDigest RowDigest::result() const
{
    char text[33];
    std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(sum_[0]),
                  static_cast<unsigned long long>(sum_[1]));
    return {rows_, text};
}

}  // namespace rsgz::db
