#include "app/DatabaseUpgrade.h"

#include <filesystem>
#include <system_error>

#include "app/TDM.h"
#include "db/Connection.h"
#include "db/SchemaUpgrade.h"

namespace rsgz::app {

std::string upgradeCopyPath(const TDM& dm, int fromVersion)
{
    const QString stamp = dm.now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return dm.programDir() + "bak/升级前-v" + std::to_string(fromVersion) + "-" + stamp.toStdString() + ".db";
}

std::string upgradeLiveDatabase(TDM& dm)
{
    db::Connection& conn = dm.DMADO;
    const int had = db::schemaVersionOf(conn), newest = db::currentSchemaVersion();
    if (had == newest) return {};
    if (had > newest)
        throw db::DbError(db::DbError::Kind::Other, "数据库文件 " + dm.livePath() + " 由更新版本的程序建立（数据库第" + std::to_string(had)
                                 + "版），本程序只能使用到第" + std::to_string(newest) + "版。请使用新版本的程序。");
    const std::string copy = upgradeCopyPath(dm, had);
    try {
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(copy).parent_path(), ec);
        conn.backupTo(copy);
    } catch (const db::DbError& e) {
        throw db::DbError(e.kind(), "数据库需要升级，但升级前的备份不能写入 " + copy + "，数据库未作改动。\r" + e.what(), e.detail());
    }
    try {
        db::Transaction tx(conn);
        db::applySchemaSteps(conn);
        tx.commit();
    } catch (const db::DbError& e) {
        throw db::DbError(e.kind(), "数据库升级失败，数据库未作改动。升级前的备份在 " + copy + "。\r" + e.what(), e.detail(), e.statement());
    }
    return "数据库已从第" + std::to_string(had) + "版升级到第" + std::to_string(newest) + "版。\r升级前的数据库已备份到 "
        + copy + "。";
}

}  // namespace rsgz::app
