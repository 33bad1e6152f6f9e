#include "app/LiveDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "app/BackgroundWork.h"
#include "app/TDM.h"
#include "db/Connection.h"
#include "db/LoginCheck.h"

namespace rsgz::app {

namespace {
void removeLogs(const QString& live)
{
    // A log left beside a vanished or emptied database would be replayed into the fresh copy.
    QFile::remove(live + "-wal");
    QFile::remove(live + "-shm");
}
}  // namespace

void ensureLiveDatabase(TDM& dm)
{
    if (dm.DMADO.isServer()) return;  // the server keeps its database itself
    const QString live = QString::fromStdString(dm.livePath());
    const QFileInfo info(live);
    if (info.exists() && info.size() > 0) return;
    if (info.exists() && !QFile::remove(live))
        throw db::DbError(db::DbError::Kind::Other, "数据库文件 " + dm.livePath() + " 是空的，也无法删除它，不能用模板代替。");
    removeLogs(live);
    QFile source(QString::fromStdString(dm.templatePath()));
    if (!source.copy(live))
        throw db::DbError(db::DbError::Kind::Other, "无法把数据库模板 " + dm.templatePath() + " 复制为 " + dm.livePath() + "："
                                               + source.errorString().toStdString());
    QFile(live).setPermissions(QFile(live).permissions() | QFileDevice::WriteOwner);
}

std::string damagedMessage(const TDM& dm, const std::string& opening, const std::string& problems)
{
    const std::string backup = latestBackup(dm);
    const std::string wayOut = backup.empty()
        ? "bak 文件夹中没有备份，请找回这个数据库的其他副本，复制为 " + dm.livePath()
        : "请把 bak 文件夹中的备份 " + backup + " 复制为 " + dm.livePath();
    return opening + "\r检查发现：" + problems + "\r" + wayOut
         + "，同时删除它旁边的 vesk.db-wal 和 vesk.db-shm（如果有），然后重新启动程序登录。";
}

LiveFileCheck::~LiveFileCheck() { stop(); }

void LiveFileCheck::stop()
{
    if (!running_.valid()) return;
    cancel_->store(true);
    running_.wait();
    running_ = {};
}

void LiveFileCheck::start(const std::string& path)
{
    stop();
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    running_ = std::async(std::launch::async, [path, cancel = cancel_] { return db::quickCheckFile(path, cancel.get()); });
}

std::optional<std::string> LiveFileCheck::finished()
{
    if (!running_.valid() || running_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return std::nullopt;
    try {
        return running_.get();
    } catch (const std::exception&) {
        // The file could not be opened for reading beside the connection (locked for longer than
        // the engine waits): nothing is known, and the check at close decides about the copy.
        return std::nullopt;
    }
}

void checkLiveDatabase(TDM& dm)
{
    if (dm.DMADO.isServer()) return;  // the server checks its pages as it reads them
    const std::string live = dm.livePath();
    if (const std::string why = db::unwritableReason(live); !why.empty()) throw db::DbError(db::DbError::Kind::ReadOnly, why);
    static const std::vector<std::string> kReadAtLogin = {"权限"};
    const std::string problems = db::hasPendingLog(live)
        ? runWhileResponsive([live] { return db::quickCheckFile(live); })
        : db::cheapCheckFile(live, kReadAtLogin);
    if (!problems.empty())
        throw db::DbError(db::DbError::Kind::Damaged, damagedMessage(dm, "数据库文件 " + live + " 已经损坏，不能使用，请退出程序。", problems));
}

std::string latestBackup(const TDM& dm)
{
    const QDir bak(QString::fromStdString(dm.programDir() + "bak"));
    static const QRegularExpression daily(QStringLiteral("^\\d{8}\\.db$"));
    const QStringList files = bak.entryList({QStringLiteral("*.db")}, QDir::Files, QDir::Name).filter(daily);
    return files.isEmpty() ? std::string() : bak.filePath(files.last()).toStdString();
}

}  // namespace rsgz::app
