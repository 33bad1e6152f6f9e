#include "db/DatabaseFile.h"

#include "db/Native.h"

#include <set>

#include "db/Connection.h"

namespace rsgz::db {

void backupFile(const std::string& source, const std::string& target)
{
    ReadOnlyFile file(source);
    backupDatabase(file.db, target);
}

void compactFile(const std::string& source, const std::string& target)
{
    ReadOnlyFile file(source);
    sqlite3_stmt* st = nullptr;
    // The target is bound, never written into the statement: a path may hold any character.
    int rc = sqlite3_prepare_v2(file.db, "VACUUM INTO ?", -1, &st, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_bind_text(st, 1, target.c_str(), -1, SQLITE_TRANSIENT);
        rc = sqlite3_step(st);
        if (rc == SQLITE_DONE) rc = SQLITE_OK;
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_OK) {
        removeDatabaseFile(target);
        file.fail(rc, "数据库压缩失败：");
    }
}

std::vector<std::string> missingTables(const std::string& path, const std::vector<std::string>& names)
{
    ReadOnlyFile file(path);
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(file.db, "select name from sqlite_master where type = 'table'", -1, &st, nullptr);
    std::set<std::string> present;
    if (rc == SQLITE_OK)
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            present.insert(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) file.fail(rc, "无法读取数据库文件 " + path + " 中的表：");
    std::vector<std::string> missing;
    for (const std::string& name : names)
        if (!present.count(name)) missing.push_back(name);
    return missing;
}

}  // namespace rsgz::db
