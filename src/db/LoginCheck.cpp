#include "db/LoginCheck.h"

#include "db/Native.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "db/Connection.h"
#include "db/SqlText.h"

namespace rsgz::db {

namespace {

constexpr size_t kHeaderSize = 100;
// A log of no more than its own header holds no work.
constexpr std::uintmax_t kEmptyLogSize = 32;

uint32_t bigEndian(const unsigned char* p, int bytes)
{
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | p[i];
    return v;
}

// What the first hundred bytes say is wrong with the file; empty when they are sound.
std::string headerProblem(const std::string& path, bool logPending)
{
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    std::array<unsigned char, kHeaderSize> h{};
    std::ifstream in(path, std::ios::binary);
    if (ec || !in || size < kHeaderSize || !in.read(reinterpret_cast<char*>(h.data()), kHeaderSize))
        return "文件头不完整（文件只有 " + std::to_string(ec ? 0 : size) + " 字节）";
    static const char kMark[] = "SQLite format 3";  // with its terminating zero: 16 bytes
    if (!std::equal(kMark, kMark + sizeof kMark, h.begin())) return "文件头中没有数据库文件的标志";
    const uint32_t stored = bigEndian(&h[16], 2);
    const uint32_t pageSize = stored == 1 ? 65536 : stored;
    if (pageSize < 512 || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        return "文件头中的页大小 " + std::to_string(stored) + " 不合理";
    if (h[21] != 64 || h[22] != 32 || h[23] != 32) return "文件头中的页内比例不是固定值";
    // The page count in the header holds only while the change counter matches the number it was
    // written with. A log not yet folded in may hold the newest pages, so the file may then be
    // shorter than the count says.
    const uint32_t pages = bigEndian(&h[28], 4);
    const bool countValid = pages != 0 && bigEndian(&h[24], 4) == bigEndian(&h[92], 4);
    if (countValid && !logPending && size < std::uintmax_t(pages) * pageSize)
        return "文件被截短：文件头记录 " + std::to_string(pages) + " 页，应有 " + std::to_string(std::uintmax_t(pages) * pageSize)
             + " 字节，文件只有 " + std::to_string(size) + " 字节";
    return {};
}

bool hasTable(sqlite3* db, const std::string& name)
{
    sqlite3_stmt* st = nullptr;
    bool found = false;
    if (sqlite3_prepare_v2(db, "select 1 from sqlite_schema where type = 'table' and name = ?", -1, &st, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(st, 1, name.c_str(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
        found = sqlite3_step(st) == SQLITE_ROW;
    }
    sqlite3_finalize(st);
    return found;
}

}  // namespace

bool hasPendingLog(const std::string& path)
{
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path + "-wal", ec);
    return !ec && size > kEmptyLogSize;
}

std::string cheapCheckFile(const std::string& path, const std::vector<std::string>& tables)
{
    if (std::string problem = headerProblem(path, hasPendingLog(path)); !problem.empty()) return problem;
    ReadOnlyFile file(path);
    // Reading the schema parses every statement in it; a table argument limits the check to that
    // tree and its indexes.
    if (std::string found = checkStatementRows(file.db, "PRAGMA quick_check(sqlite_schema)"); !found.empty()) return found;
    for (const std::string& table : tables) {
        if (!hasTable(file.db, table)) continue;  // the login's own statement then says what is missing
        if (std::string found = checkStatementRows(file.db, "PRAGMA quick_check(" + sqlQuote(table) + ")"); !found.empty())
            return found;
    }
    return {};
}

}  // namespace rsgz::db
