#include "support/StaleLog.h"

#include <filesystem>

#include "db/Connection.h"

namespace rsgz::test {

namespace {
void addRows(db::Connection& conn, const std::string& table, const std::string& key, int from, int count)
{
    db::Transaction tx(conn);
    for (int i = from; i < from + count; ++i)
        conn.execNative("insert into " + table + " (" + key + ", 备注) values ('S" + std::to_string(i) + "', '"
                        + std::string(40, 'x') + "')");
    tx.commit();
}
}  // namespace

std::string leaveStaleLog(const std::string& live)
{
    namespace fs = std::filesystem;
    const std::string older = live + ".older", log = live + ".log";
    // The older copy: the same empty database with only employees entered.
    fs::copy_file(live, older, fs::copy_options::overwrite_existing);
    {
        db::Connection conn(older);
        addRows(conn, "员工基本情况", "员工编号", 0, 600);
    }
    // The live file grew another way: personal histories first, then employees.
    {
        db::Connection conn(live);
        addRows(conn, "个人经历", "员工编号1", 0, 600);
        addRows(conn, "员工基本情况", "员工编号", 0, 600);
    }
    {
        // The crashed run: its last writes are only in the log when the program dies.
        db::Connection conn(live);
        conn.execNative("delete from 员工基本情况 where rowid % 2 = 0");
        fs::copy_file(live + "-wal", log, fs::copy_options::overwrite_existing);
    }
    fs::copy_file(older, live, fs::copy_options::overwrite_existing);
    fs::copy_file(log, live + "-wal", fs::copy_options::overwrite_existing);
    fs::remove(live + "-shm");
    fs::remove(log);
    return older;
}

}  // namespace rsgz::test
