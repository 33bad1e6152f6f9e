#include "support/BrokenPage.h"

#include <sqlite3.h>

#include <fstream>

#include "db/Connection.h"

namespace rsgz::test {

namespace {
int64_t number(const std::string& file, const std::string& sql)
{
    db::Connection conn(file);
    db::Statement st = conn.prepareNative(sql);
    return st.step() ? st.integer(0) : -1;
}
}  // namespace

void overwriteBytes(const std::string& file, long long at, const std::string& bytes)
{
    std::fstream f(file, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(at);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void breakTableTree(const std::string& file, const std::string& table)
{
    const int64_t pageSize = number(file, "select page_size from pragma_page_size");
    const int64_t root = number(file, "select rootpage from sqlite_master where type = 'table' and name = '" + table + "'");
    overwriteBytes(file, (root - 1) * pageSize, std::string(8, '\xff'));
}

}  // namespace rsgz::test
