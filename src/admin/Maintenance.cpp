#include "admin/Maintenance.h"

#include <QFileInfo>

#include <filesystem>
#include <optional>

#include "app/PasswordHash.h"
#include "admin/RestoreCheck.h"
#include "app/Rights.h"
#include "app/BackgroundWork.h"
#include "app/Interaction.h"
#include "app/TDM.h"
#include "app/WorkLocks.h"
#include "db/DatabaseFile.h"
#include "db/SqlText.h"

namespace rsgz::admin {

namespace {

constexpr const char* kDbFilter = "数据库文件 (*.db)";
constexpr const char* kDumpFilter = "数据库备份文件 (*.dump)";

// A name typed without an extension is a database file (or a server's archive) all the same.
std::string withSuffix(const std::string& path, const char* suffix)
{
    return QFileInfo(QString::fromStdString(path)).suffix().isEmpty() ? path + suffix : path;
}

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

void renameOver(const std::string& from, const std::string& to)
{
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (ec) throw db::DbError(db::DbError::Kind::Other, "无法用 " + from + " 替换 " + to + "：" + ec.message());
}

// The compaction's output is the live data rewritten: it need only be sound.
void checkCompactedFile(const std::string& path)
{
    if (const std::string problems = db::quickCheckFile(path); !problems.empty())
        throw db::DbError(db::DbError::Kind::Other, "压缩后的文件 " + path + " 已经损坏：" + problems);
}

// Writes a whole database file into target; a full disk is said in words, naming the file, with
// the engine's own text below.
template <class Write>
void writeDatabaseFile(const std::string& target, Write write)
{
    try {
        write();
    } catch (const db::DbError& e) {
        if (e.kind() != db::DbError::Kind::Full) throw;
        throw db::DbError(e.kind(), "磁盘空间不足，不能写入文件“" + target + "”。\r数据库引擎的说明：" + e.what(), e.detail());
    }
}

void copyDatabase(const std::string& source, const std::string& target)
{
    writeDatabaseFile(target, [&] { db::backupFile(source, target); });
}

// Work on whole files runs beside the window, which keeps painting.
template <class Work>
void runBeside(Work work)
{
    app::runWhileResponsive([&] {
        work();
        return 0;
    });
}

}  // namespace

Maintenance::Maintenance(app::TDM& dm) : dm_(dm) {}

const std::vector<std::string>& Maintenance::clearedTables()
{
    static const std::vector<std::string> tables = {
        "帐套设置", "员工基本情况", "个人经历", "社会关系", "证照列表", "培训记录", "调动记录", "职称评定",
        "奖惩情况", "工资晋升", "考评情况", "考评项目表", "物品领用", "培训课程", "物品登记", "帐套",
        "工资帐套明细", "工资表", "计件工资", "产品库", "工序库", "计时工资"};
    return tables;
}

std::string Maintenance::compactPath() const { return dm_.programDir() + "data/new.db"; }

std::string Maintenance::safetyCopyPath() const
{
    const QString stamp = dm_.now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return dm_.programDir() + "bak/恢复前-" + stamp.toStdString() + (dm_.DMADO.isServer() ? ".dump" : ".db");
}

// --- backup ---------------------------------------------------------------------------------------

void Maintenance::backup()
{
    if (!app::hasRight(dm_, "数据备份")) return dm_.ShowMessage_jd("权限不足!不能备份数据!");
    const bool server = dm_.DMADO.isServer();
    std::string target = app::interaction().saveFileName("请输入新生成的备份文件名称", server ? kDumpFilter : kDbFilter);
    if (target.empty()) return;
    const std::string typed = target;
    target = withSuffix(target, server ? ".dump" : ".db");
    const QFileInfo info(QString::fromStdString(target));
    // The save dialog has already asked about replacing the file it returned; only a name it never
    // saw, the one with the suffix added here, is asked about.
    if (info.exists() && target != typed) {
        dm_.Show_Tishi_windows2("文件已经存在，要覆盖吗?");
        if (dm_.PromptAnswer != 1) return;
    }
    try {
        // The copy is renamed over the target, which would replace even a file marked read-only
        // (and an administrator may write any file): the owner's write bit decides.
        if (info.exists() && !(info.permissions() & QFileDevice::WriteOwner)) throw db::DbError(db::DbError::Kind::Other, "文件 " + target + " 是只读的。");
        if (server) {
            backupServer(target);
        } else {
            if (sameFile(target, dm_.livePath())) throw db::DbError(db::DbError::Kind::Other, "不能把数据库备份到它自己。");
            dm_.DMADO.checkpoint();
            const std::string live = dm_.livePath();
            runBeside([&] { copyDatabase(live, target); });
        }
    } catch (const std::exception& e) {
        return dm_.ShowMessage_jd(std::string("备份失败！\r") + e.what());
    }
    dm_.ShowMessage_jd("备份成功！");
}

// --- restore --------------------------------------------------------------------------------------

void Maintenance::restore()
{
    if (!app::hasRight(dm_, "数据恢复")) return dm_.ShowMessage_jd("无权限进行此项操作!");
    dm_.Show_Tishi_windows2("恢复数据将覆盖现在的数据，继续吗?");
    if (dm_.PromptAnswer != 1) return;
    const bool server = dm_.DMADO.isServer();
    const std::string chosen = app::interaction().openFileName("请选择一个过去备份的数据库文件", server ? kDumpFilter : kDbFilter);
    if (chosen.empty()) return;
    std::optional<db::WorkLock> lock;
    if (!app::runAction([&] { lock.emplace(app::lockWholeDatabase(dm_, "数据恢复")); })) return;
    try {
        if (server)
            replaceServerRows(chosen);
        else
            replaceLiveFile(chosen);
    } catch (const RestoreRefusal& e) {
        reopen();
        const std::string detail = e.detail().empty() ? std::string() : "\r" + e.detail();
        return dm_.ShowMessage_jd(std::string("恢复失败\r") + e.what() + "\r现在的数据没有改动。" + detail);
    } catch (const std::exception& e) {
        reopen();
        return dm_.ShowMessage_jd(std::string("恢复失败\r") + e.what() + "\r现在的数据没有改动。");
    }
    reopen();
    dm_.ShowMessage_jd("软件将关闭,请重新运行软件!");
    if (closeProgram) closeProgram();
}

// The chosen file is checked and copied beside the live one before anything of the live database
// is touched; the live file is replaced by one rename, after its logs are gone, so that neither a
// stale log nor a half copy can ever be mixed into the restored data.
void Maintenance::replaceLiveFile(const std::string& chosen)
{
    const std::string live = dm_.livePath();
    const std::string incoming = live + ".restore";
    if (sameFile(chosen, live)) throw db::DbError(db::DbError::Kind::Other, "选择的文件就是正在使用的数据库。");
    runBeside([&] {
        checkRestoreFile(chosen);
        copyDatabase(chosen, incoming);
        checkRestoreFile(incoming);
    });
    try {
        const std::string safety = safetyCopyPath();
        runBeside([&] { copyDatabase(live, safety); });
        dm_.fileCheck.stop();  // its reading connection must not outlive the file it reads
        dm_.close_all_data();
        dm_.DMADO.close();
        for (const char* log : {"-wal", "-shm", "-journal"}) std::filesystem::remove(live + log);
        renameOver(incoming, live);
    } catch (...) {
        db::removeDatabaseFile(incoming);
        throw;
    }
}

void Maintenance::reopen()
{
    // zh keeps the operator's row; reading it again connects to the file now in place.
    app::runAction([this] {
        if (dm_.zh.active()) {
            dm_.zh.close();
            dm_.zh.open();
        }
    });
}

// --- compaction -----------------------------------------------------------------------------------

void Maintenance::compact()
{
    if (dm_.DMADO.isServer()) return compactServer();
    const std::string live = dm_.livePath();
    const std::string fresh = compactPath();
    dm_.fileCheck.stop();  // its reading connection must not outlive the file it reads
    dm_.close_all_data();
    dm_.DMADO.close();
    try {
        db::removeDatabaseFile(fresh);
        runBeside([&] {
            writeDatabaseFile(fresh, [&] { db::compactFile(live, fresh); });
            checkCompactedFile(fresh);
        });
        for (const char* log : {"-wal", "-shm", "-journal"}) std::filesystem::remove(live + log);
        renameOver(fresh, live);
    } catch (const std::exception& e) {
        db::removeDatabaseFile(fresh);
        reopen();
        return dm_.ShowMessage_jd(std::string("操作失败\r") + e.what());
    }
    reopen();
    dm_.ShowMessage_jd("操作成功");
}

// --- initialization -------------------------------------------------------------------------------

void Maintenance::initialize()
{
    if (!app::hasRight(dm_, "系统初始化") || !app::hasRight(dm_, "权限管理"))
        return dm_.ShowMessage_jd("权限不足!不能初始化数据!");
    dm_.ConfirmPassword.clear();
    app::interaction().openWindow(app::WindowId::InitializeConfirmation);
    if (!passwordConfirmed()) return dm_.ShowMessage_jd("密码错误！");
    dm_.Show_Tishi_windows2("此操作将删除所有数据,继续吗?");
    if (dm_.PromptAnswer != 1) return;
    std::optional<db::WorkLock> lock;
    if (!app::runAction([&] { lock.emplace(app::lockWholeDatabase(dm_, "数据初始化")); })) return;
    dm_.close_all_data();
    const bool done = app::runAction([this] {
        // All or nothing: a table that cannot be emptied leaves every other table as it was.
        db::Transaction tx(dm_.DMADO);
        for (const std::string& table : clearedTables()) dm_.runSql({"delete from " + db::sqlIdent(table)});
        tx.commit();
    });
    if (done) dm_.ShowMessage_jd("初始化成功!");
}

// On a server the operator is a login of the server: the password the session logged in with is
// theirs.
bool Maintenance::passwordConfirmed() const
{
    if (dm_.ConfirmPassword.empty()) return false;
    if (const db::ServerTarget* server = dm_.DMADO.server()) return dm_.ConfirmPassword == server->password;
    const std::string stored = dm_.zh.active() && !dm_.zh.isEmpty() ? dm_.zh.asString("密码") : std::string();
    return app::verifyPassword(stored, dm_.ConfirmPassword);
}

}  // namespace rsgz::admin
