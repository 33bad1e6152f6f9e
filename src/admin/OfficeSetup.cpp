#include "admin/OfficeSetup.h"

#include <charconv>
#include <ctime>
#include <filesystem>

#include "admin/OfficeRights.h"
#include "app/ServerSettings.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "db/SchemaUpgrade.h"
#include "db/ServerDump.h"

namespace rsgz::admin {

namespace {

struct Abandoned {};

// An answer; the default when the answer is empty. Ends the questions at the end of the input.
std::string answer(const AskLine& ask, const std::string& prompt, const std::string& fallback = {}, bool secret = false)
{
    const std::string shown = fallback.empty() || secret ? prompt + "：" : prompt + "（" + fallback + "）：";
    const std::optional<std::string> a = ask(shown, secret);
    if (!a) throw Abandoned{};
    return a->empty() ? fallback : *a;
}

int portOf(const std::string& text)
{
    int n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    return ec == std::errc() && end == text.data() + text.size() && n >= 1 && n <= 65535 ? n : 0;
}

// The settings file for the new office: written when there is none, else left as it is.
int tellSettings(const std::string& workDir, const std::optional<app::ServerSettings>& known, const app::ServerSettings& made,
                 std::ostream& out)
{
    const std::string path = app::serverSettingsPath(workDir);
    if (known) {
        if (known->where() != made.where()) out << "设置文件 " << path << " 仍指向 " << known->where() << "，没有改动它。\n";
        return 0;
    }
    try {
        app::writeServerSettings(workDir, made);
    } catch (const std::exception& e) {
        out << e.what() << "\n请把下面几行写入 " << path << "，程序就会登录这个数据库：\n" << app::serverSettingsText(made);
        return 1;
    }
    out << "已写入 " << path << "，程序下次启动时登录这个数据库。\n";
    return 0;
}

// The server's administrator, asked for, on the office database of the settings.
db::ServerTarget askAdministrator(const AskLine& ask, const app::ServerSettings& settings, const char* command)
{
    db::ServerTarget admin;
    admin.host = settings.host;
    admin.port = settings.port;
    admin.database = settings.database;
    admin.user = answer(ask, "服务器管理员", "postgres");
    admin.password = answer(ask, "服务器管理员的密码", {}, true);
    admin.applicationName = command;
    return admin;
}

std::string upgradeCopyPath(const std::string& workDir, int fromVersion)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    return workDir + "bak/升级前-v" + std::to_string(fromVersion) + "-" + stamp + ".dump";
}

int databaseVersion(const db::ServerTarget& admin)
{
    db::Connection conn(admin);
    return db::schemaVersionOf(conn);
}

}  // namespace

int upgradeOfficeInteractively(const std::string& workDir, const AskLine& ask, std::ostream& out)
{
    try {
        const std::optional<app::ServerSettings> settings = app::readServerSettings(workDir);
        if (!settings) {
            out << "没有设置文件 " << app::serverSettingsPath(workDir) << "：这个程序使用本机的数据库文件，它在登录时自动升级。\n";
            return 1;
        }
        out << "升级服务器上的办公数据库 " << settings->where() << "。\n";
        const db::ServerTarget admin = askAdministrator(ask, *settings, "rsgz --upgrade-office");
        const int had = databaseVersion(admin), newest = db::currentSchemaVersion();
        if (had < newest) {
            const std::string copy = upgradeCopyPath(workDir, had);
            std::error_code ec;
            std::filesystem::create_directories(workDir + "bak", ec);
            db::ServerDump(admin).dump(copy, static_cast<int>(db::schemaTablesAt(had).size()));
            out << "升级前的数据库已备份到 " << copy << "。\n";
        }
        upgradeOffice(admin);
        if (had == newest)
            out << "数据库已是第" << newest << "版，不需升级；各权限对表的权限已按本程序重新授予。\n";
        else
            out << "数据库已从第" << had << "版升级到第" << newest << "版。\n";
        return 0;
    } catch (const Abandoned&) {
        out << "\n输入已结束，数据库未作改动。\n";
    } catch (const db::DbError& e) {
        // Adding tables and privileges waits for every clerk's open work on the tables.
        if (e.kind() == db::DbError::Kind::Busy)
            out << "数据库未作改动：还有操作员正在使用这个数据库。请所有操作员先退出程序，再运行 rsgz --upgrade-office。\n";
        else
            out << "数据库未作改动：" << e.what() << "\n";
    } catch (const std::exception& e) {
        out << "数据库未作改动：" << e.what() << "\n";
    }
    return 1;
}

int createOfficeInteractively(const std::string& workDir, const AskLine& ask, std::ostream& out)
{
    std::optional<app::ServerSettings> known;
    try {
        known = app::readServerSettings(workDir);
    } catch (const std::exception& e) {
        out << e.what() << "\n";
        return 1;
    }
    try {
        app::ServerSettings settings = known.value_or(app::ServerSettings{"localhost", 5432, "rsgz"});
        out << "建立新的办公数据库：数据库、权限角色和第一个操作员。\n";
        settings.host = answer(ask, "数据库服务器（主机名、地址或套接字目录）", settings.host);
        settings.port = portOf(answer(ask, "端口", std::to_string(settings.port)));
        if (settings.port == 0) {
            out << "端口应是 1 到 65535 之间的整数。\n";
            return 1;
        }
        settings.database = answer(ask, "新数据库的名称", settings.database);
        db::ServerTarget admin;
        admin.host = settings.host;
        admin.port = settings.port;
        admin.database = "postgres";
        admin.user = answer(ask, "服务器管理员", "postgres");
        admin.password = answer(ask, "服务器管理员的密码", {}, true);
        admin.applicationName = "rsgz --create-office";
        const std::string first = answer(ask, "第一个操作员的名称");
        const std::string password = answer(ask, "第一个操作员的密码", {}, true);
        if (answer(ask, "再输入一次这个密码", {}, true) != password) {
            out << "两次输入的密码不一样，没有建立数据库。\n";
            return 1;
        }
        createOffice(admin, settings.database, first, password);
        out << "已在 " << settings.where() << " 建立办公数据库，第一个操作员是 " << first << "，拥有全部权限。\n";
        return tellSettings(workDir, known, settings, out);
    } catch (const Abandoned&) {
        out << "\n输入已结束，没有建立数据库。\n";
    } catch (const std::exception& e) {
        out << "没有建立数据库：" << e.what() << "\n";
    }
    return 1;
}

}  // namespace rsgz::admin
