#include "db/ChineseCollation.h"

#include "db/Dialect.h"
#include "db/LatinCase.h"

#include <iconv.h>
#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <memory>

namespace rsgz::db {

namespace {

// Rank of every character of the basic plane, built once from the character set itself.
using RankTable = std::array<uint32_t, 0x10000>;

constexpr uint32_t kCommonBase = 0x10000;    // two-byte codes of the national set (both bytes ≥ A1)
constexpr uint32_t kExtendedBase = 0x20000;  // the other two-byte codes of the extended set
constexpr uint32_t kOutsideBase = 0x30000;   // characters the extended set cannot hold

std::unique_ptr<RankTable> buildRanks()
{
    auto ranks = std::make_unique<RankTable>();
    for (uint32_t cp = 0; cp < 0x10000; ++cp) ranks->at(cp) = kOutsideBase + cp;
    for (uint32_t c = 0; c < 0x80; ++c) ranks->at(c) = static_cast<unsigned char>(foldLatin(static_cast<char>(c)));

    iconv_t cd = iconv_open("UTF-32LE", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) return ranks;
    for (uint32_t b1 = 0x81; b1 <= 0xFE; ++b1) {
        for (uint32_t b2 = 0x40; b2 <= 0xFE; ++b2) {
            if (b2 == 0x7F) continue;
            char in[2] = {static_cast<char>(b1), static_cast<char>(b2)};
            unsigned char out[4] = {};
            char* src = in;
            char* dst = reinterpret_cast<char*>(out);
            size_t srcLeft = 2, dstLeft = 4;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) || dstLeft != 0) continue;
            const uint32_t cp = out[0] | out[1] << 8 | out[2] << 16 | static_cast<uint32_t>(out[3]) << 24;
            if (cp >= 0x10000 || cp < 0x80) continue;
            const uint32_t code = b1 << 8 | b2;
            ranks->at(cp) = (b1 >= 0xA1 && b2 >= 0xA1 ? kCommonBase : kExtendedBase) + code;
        }
    }
    iconv_close(cd);
    return ranks;
}

const RankTable& ranks()
{
    static const std::unique_ptr<RankTable> table = buildRanks();
    return *table;
}

// Reads one character of UTF-8; a malformed byte counts as itself.
uint32_t nextCodePoint(std::string_view s, size_t& i)
{
    const auto b = static_cast<unsigned char>(s[i]);
    int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size()) {
        ++i;
        return b;
    }
    uint32_t cp = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    for (int k = 1; k < len; ++k) cp = cp << 6 | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += len;
    return cp;
}

uint32_t rankOf(uint32_t cp, const RankTable& table)
{
    return cp < 0x10000 ? table[cp] : kOutsideBase + cp;
}

int collate(void*, int lenA, const void* a, int lenB, const void* b)
{
    return compareChinese(std::string_view(static_cast<const char*>(a), lenA),
                          std::string_view(static_cast<const char*>(b), lenB));
}

}  // namespace

int compareChinese(std::string_view a, std::string_view b)
{
    const RankTable& table = ranks();
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        uint32_t ra, rb;
        if (ca < 0x80 && cb < 0x80) {  // the common case of Latin text and digits, without decoding
            ra = table[ca];
            rb = table[cb];
            ++i;
            ++j;
        } else {
            ra = rankOf(nextCodePoint(a, i), table);
            rb = rankOf(nextCodePoint(b, j), table);
        }
        if (ra != rb) return ra < rb ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    const int bytes = a.compare(b);
    return bytes < 0 ? -1 : bytes > 0 ? 1 : 0;
}

void registerChineseCollation(sqlite3* db)
{
    ranks();  // build the table now rather than inside the first sort
    sqlite3_create_collation_v2(db, kChineseCollation, SQLITE_UTF8, nullptr, &collate, nullptr);
}

std::string sqlOrderTerm(std::string_view column, bool descending)
{
    return sqliteDialect().orderTerm(column, descending);
}

}  // namespace rsgz::db
