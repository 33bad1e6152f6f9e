#include "admin/Migration.h"

#include <QFileInfo>

#include <filesystem>

#include "app/Interaction.h"
#include "app/Progress.h"
#include "app/Rights.h"
#include "app/TDM.h"
#include "db/SchemaUpgrade.h"

namespace rsgz::admin {

namespace {

constexpr const char* kCaption = "数据库迁移";
constexpr const char* kDbFilter = "数据库文件 (*.db)";

// A refusal before anything was written: said as it is, without the words of a failure.
struct Refused : std::runtime_error {
    using std::runtime_error::runtime_error;
};

bool sameFile(const std::string& a, const std::string& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

std::string withDbSuffix(const std::string& path)
{
    return QFileInfo(QString::fromStdString(path)).suffix().isEmpty() ? path + ".db" : path;
}

bool sameServer(const db::ServerTarget& a, const db::ServerTarget& b)
{
    return a.host == b.host && a.port == b.port && a.database == b.database && a.user == b.user;
}

void checkVersion(db::Connection& source)
{
    const int version = db::schemaVersionOf(source);
    if (version != db::currentSchemaVersion())
        throw Refused("要迁移的数据库的版本是 " + std::to_string(version) + "，本程序的版本是 "
                      + std::to_string(db::currentSchemaVersion()) + "：请先用本程序登录这个数据库一次，再迁移。");
}

std::string failureText(const std::exception& e)
{
    const auto* dbe = dynamic_cast<const db::DbError*>(&e);
    const bool unreachable = dbe && (dbe->kind() == db::DbError::Kind::Lost || dbe->kind() == db::DbError::Kind::Denied);
    std::string text = std::string("迁移失败，目标数据库没有改动。\r") + (unreachable ? "无法连接数据库服务器：" : "") + e.what();
    if (dbe && !dbe->detail().empty() && dbe->detail() != e.what()) text += "\r数据库引擎的说明：" + dbe->detail();
    return text;
}

}  // namespace

Migration::Migration(app::TDM& dm) : dm_(dm)
{
    if (const db::ServerTarget* live = dm.DMADO.server()) {
        direction = Direction::ServerToFile;
        server = *live;
        server.password.clear();
    } else {
        direction = Direction::FileToServer;
        file = dm.livePath();
        server.database = "rsgz";
    }
}

int64_t Migration::copiedRows() const
{
    int64_t rows = 0;
    for (const db::TableCheck& c : checks_) rows += c.source.rows;
    return rows;
}

bool Migration::chooseFile()
{
    const std::string chosen = direction == Direction::FileToServer
        ? app::interaction().openFileName("请选择要迁移到服务器的数据库文件", kDbFilter)
        : app::interaction().saveFileName("请输入新生成的数据库文件名称", kDbFilter);
    if (chosen.empty()) return false;
    file = direction == Direction::FileToServer ? chosen : withDbSuffix(chosen);
    return true;
}

// What keeps the copy from starting at all; empty when it may start.
std::string Migration::refusal()
{
    if (!hasRight(dm_, "数据备份")) return "权限不足!不能迁移数据!";
    if (file.empty()) return "请选择数据库文件。";
    if (server.host.empty() || server.database.empty() || server.user.empty())
        return "请填写数据库服务器的主机、数据库名称和用户名。";
    if (direction == Direction::FileToServer && !QFileInfo::exists(QString::fromStdString(file)))
        return "数据库文件“" + file + "”不存在。";
    if (direction == Direction::ServerToFile && (sameFile(file, dm_.livePath()) || file == dm_.livePath()))
        return "不能把数据写入正在使用的数据库文件，请另选一个文件名。";
    return {};
}

// The password of the live session serves when the boxes name the live server and none was typed.
db::ServerTarget Migration::effectiveServer() const
{
    db::ServerTarget t = server;
    const db::ServerTarget* live = dm_.DMADO.server();
    if (t.password.empty() && live && sameServer(t, *live)) t.password = live->password;
    return t;
}

void Migration::copy(db::Connection& source, db::Connection& target)
{
    checkVersion(source);
    db::TableCopy copy(source, target);
    if (const auto filled = copy.filledTargetTable())
        throw Refused("目标数据库不是空的：表“" + filled->first + "”中已有 " + std::to_string(filled->second)
                      + " 行数据。\r迁移只写入空的数据库，目标数据库没有改动。");
    const int tables = static_cast<int>(source.tableNames().size());
    app::Progress progress(kCaption, "正在迁移数据……", tables);
    copy.progress = [&](const db::TableCopy::Step& step) { progress.step(step.index); };
    db::TableCopy::Result result = copy.run();
    progress.close();
    checks_ = std::move(result.checks);
    agreed_ = result.committed;
}

void Migration::copyToServer()
{
    db::Connection source(file);
    db::Connection target(effectiveServer());
    copy(source, target);
}

// The new file is written beside its name and renamed over it once it holds the whole copy.
void Migration::copyToFile()
{
    const std::string part = file + ".part";
    db::removeDatabaseFile(part);
    try {
        db::Connection source(effectiveServer());
        db::createDatabaseFile(part);
        {
            db::Connection target(part);
            copy(source, target);
            if (agreed_) target.useSingleFile();
        }
        if (!agreed_) return db::removeDatabaseFile(part);
        std::error_code ec;
        std::filesystem::rename(part, file, ec);
        if (ec) throw db::DbError(db::DbError::Kind::Other, "无法写入文件“" + file + "”：" + ec.message());
    } catch (...) {
        db::removeDatabaseFile(part);
        throw;
    }
}

bool Migration::run()
{
    checks_.clear();
    agreed_ = false;
    if (const std::string why = refusal(); !why.empty()) {
        app::interaction().showMessage(why);
        return false;
    }
    try {
        if (direction == Direction::FileToServer) copyToServer();
        else copyToFile();
    } catch (const Refused& e) {
        app::interaction().showMessage(e.what());
        return false;
    } catch (const std::exception& e) {
        app::interaction().showMessage(failureText(e));
        return false;
    }
    if (!agreed_) {
        std::string differing;
        for (const db::TableCheck& c : checks_)
            if (!c.matches()) differing += (differing.empty() ? "" : "、") + c.table;
        app::interaction().showMessage("迁移后核对不一致（" + differing + "），目标数据库没有改动。");
        return false;
    }
    app::interaction().showMessage("迁移完成：共 " + std::to_string(checks_.size()) + " 个表、" + std::to_string(copiedRows())
                                   + " 行数据，每个表的行数和校验和都一致。");
    return true;
}

}  // namespace rsgz::admin
