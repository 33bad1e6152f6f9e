#include "exchange/TableStream.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace rsgz::exchange::tablestream {

namespace {

constexpr std::string_view kMagic = "RSGZTAB1";

using Kind = db::Value::Kind;

// --- writing -------------------------------------------------------------------------------------

template <class U>
void putLittle(std::string& out, U v)
{
    char bytes[sizeof(U)];
    for (size_t i = 0; i < sizeof(U); ++i) bytes[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    out.append(bytes, sizeof bytes);
}

void putU32(std::string& out, uint32_t v) { putLittle(out, v); }
void putU64(std::string& out, uint64_t v) { putLittle(out, v); }

void putText(std::string& out, std::string_view s)
{
    // A text beyond the bound is cut rather than refused: the reader never makes one that long.
    if (s.size() > kMaxText) s = s.substr(0, kMaxText);
    putU32(out, static_cast<uint32_t>(s.size()));
    out += s;
}

void putCell(std::string& out, const db::Value& v)
{
    out += static_cast<char>(v.kind());
    switch (v.kind()) {
    case Kind::Null: break;
    case Kind::Int:
    case Kind::Bool: putU64(out, static_cast<uint64_t>(v.toInt())); break;
    case Kind::Money: putU64(out, static_cast<uint64_t>(v.toMoney().units())); break;
    case Kind::Double: putU64(out, std::bit_cast<uint64_t>(v.toDouble())); break;
    case Kind::Text: putText(out, v.toString()); break;
    }
}

std::string begin(char tag)
{
    std::string out(kMagic);
    out += tag;
    return out;
}

// --- reading -------------------------------------------------------------------------------------

class Reader {
public:
    explicit Reader(std::string_view bytes) : b_(bytes) {}

    size_t left() const { return b_.size() - pos_; }

    uint8_t byte()
    {
        need(1);
        return static_cast<uint8_t>(b_[pos_++]);
    }
    uint32_t u32() { return little<uint32_t>(); }
    uint64_t u64() { return little<uint64_t>(); }
    std::string_view text()
    {
        const uint32_t n = u32();
        if (n > kMaxText) fail("一个值超过了允许的长度");
        need(n);
        const std::string_view s = b_.substr(pos_, n);
        pos_ += n;
        return s;
    }
    // A count that is within its bound and that the bytes left could hold, each item taking at
    // least minBytes.
    size_t count(size_t bound, size_t minBytes)
    {
        const uint32_t n = u32();
        if (n > bound || (minBytes > 0 && n > left() / minBytes)) fail("数目超出范围");
        return n;
    }
    db::Value cell()
    {
        switch (static_cast<Kind>(byte())) {
        case Kind::Null: return {};
        case Kind::Int: return db::Value(static_cast<int64_t>(u64()));
        case Kind::Bool: return db::Value(u64() != 0);
        case Kind::Money: return db::Value(db::Money::fromUnits(static_cast<int64_t>(u64())));
        case Kind::Double: {
            const double d = std::bit_cast<double>(u64());
            return std::isfinite(d) ? db::Value(d) : db::Value();
        }
        case Kind::Text: return db::Value(text());
        }
        fail("未知的值类型");
    }
    bool at(std::string_view s)
    {
        if (left() < s.size() || b_.substr(pos_, s.size()) != s) return false;
        pos_ += s.size();
        return true;
    }

    [[noreturn]] static void fail(const std::string& why) { throw SourceError("读取进程的输出有误：" + why); }

private:
    template <class U>
    U little()
    {
        need(sizeof(U));
        U v = 0;
        for (size_t i = 0; i < sizeof(U); ++i) v |= static_cast<U>(static_cast<uint8_t>(b_[pos_ + i])) << (8 * i);
        pos_ += sizeof(U);
        return v;
    }

    void need(size_t n) const
    {
        if (left() < n) fail("数据不完整");
    }
    std::string_view b_;
    size_t pos_ = 0;
};

void readTable(Reader& r, SourceTable& t)
{
    const size_t columns = r.count(kMaxColumns, 4);
    t.columns.reserve(columns);
    for (size_t c = 0; c < columns; ++c) t.columns.emplace_back(r.text());
    // Each row takes its line number and at least one byte per cell.
    const size_t rows = r.count(kMaxRows, 4 + columns);
    t.rows.reserve(rows);
    t.lines.reserve(rows);
    for (size_t i = 0; i < rows; ++i) {
        const uint32_t line = r.u32();
        if (line > static_cast<uint32_t>(INT32_MAX)) Reader::fail("行号超出范围");
        t.lines.push_back(static_cast<int>(line));
        std::vector<db::Value> row;
        row.reserve(columns);
        for (size_t c = 0; c < columns; ++c) row.push_back(r.cell());
        t.rows.push_back(std::move(row));
    }
}

}  // namespace

std::string encodeTables(const std::vector<std::string>& names)
{
    std::string out = begin('N');
    const size_t n = std::min(names.size(), kMaxTables);
    putU32(out, static_cast<uint32_t>(n));
    for (size_t i = 0; i < n; ++i) putText(out, names[i]);
    out += 'Z';
    return out;
}

std::string encodeTable(const SourceTable& t)
{
    if (t.columns.size() > kMaxColumns || t.rows.size() > kMaxRows) return encodeFailure("表的行数或列数超出了能导入的范围");
    std::string out = begin('T');
    // Most cells are short texts: about a dozen bytes each.
    out.reserve(64 + t.rows.size() * (4 + 12 * t.columns.size()));
    putU32(out, static_cast<uint32_t>(t.columns.size()));
    for (const std::string& c : t.columns) putText(out, c);
    putU32(out, static_cast<uint32_t>(t.rows.size()));
    for (size_t i = 0; i < t.rows.size(); ++i) {
        putU32(out, static_cast<uint32_t>(i < t.lines.size() ? t.lines[i] : 0));
        for (size_t c = 0; c < t.columns.size(); ++c) putCell(out, c < t.rows[i].size() ? t.rows[i][c] : db::Value());
    }
    out += 'Z';
    return out;
}

std::string encodeFailure(const std::string& reason)
{
    std::string out = begin('F');
    putText(out, reason);
    out += 'Z';
    return out;
}

Decoded decode(std::string_view bytes)
{
    Reader r(bytes);
    if (!r.at(kMagic)) Reader::fail("开头不对");
    Decoded d;
    switch (r.byte()) {
    case 'N': {
        d.kind = Decoded::Kind::Tables;
        const size_t n = r.count(kMaxTables, 4);
        for (size_t i = 0; i < n; ++i) d.names.emplace_back(r.text());
        break;
    }
    case 'T':
        d.kind = Decoded::Kind::Table;
        readTable(r, d.table);
        break;
    case 'F':
        d.kind = Decoded::Kind::Failure;
        d.reason = std::string(r.text());
        break;
    default: Reader::fail("未知的内容");
    }
    if (!r.at("Z") || r.left() != 0) Reader::fail("结尾不对");
    return d;
}

}  // namespace rsgz::exchange::tablestream
