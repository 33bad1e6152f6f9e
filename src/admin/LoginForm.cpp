#include "admin/LoginForm.h"

#include "app/PasswordHash.h"
#include "app/Interaction.h"
#include "app/LiveDatabase.h"
#include "app/MainFrame.h"
#include "app/Product.h"
#include "app/TDM.h"
#include "db/SchemaUpgrade.h"
#include "db/ServerRoles.h"
#include "db/SqlText.h"

namespace rsgz::admin {

LoginForm::LoginForm(app::MainFrame& frame) : frame_(frame)
{
    try {
        server_ = app::readServerSettings(frame_.ProgramDir);
    } catch (const std::exception& e) {
        // Said when the operator logs in, after the file may have been put right.
        settingsFault_ = e.what();
    }
    // A server has no default operator: its operators are made with the office.
    if (!server_ && settingsFault_.empty()) {
        name = app::kDefaultOperator;
        password = app::kDefaultPassword;
    }
    try {
        history_ = NameHistory::load(historyPath());
        items = history_->items();
    } catch (const std::exception& e) {
        // An unreadable history only costs the suggestions: said once, then replaced by a sound
        // file at the next name recorded. The login itself goes on.
        app::interaction().showError(e.what());
        history_ = NameHistory::fresh(historyPath());
    }
    if (!items.empty()) name = items.front();
    frame_.LoginFailed = true;
}

std::string LoginForm::historyPath() const { return frame_.ProgramDir + "YongHuNameList.Cfg"; }

std::string LoginForm::hint() const
{
    if (!settingsFault_.empty()) return "数据库设置文件 set/database.ini 有误，登录时说明";
    if (server_) return "数据库服务器：" + server_->where() + "，请用服务器上的操作员登录";
    return std::string("默认用户名称：") + app::kDefaultOperator + "  登录密码：" + app::kDefaultPassword;
}

bool LoginForm::nameIsOneLine()
{
    if (isOneLineName(name)) return true;
    frame_.dm().ShowMessage_jd(kNameOnOneLine);
    focus = Focus::Name;
    return false;
}

void LoginForm::nameChanged(const std::string& newName)
{
    if (newName == name) return;
    name = newName;
    password.clear();
}

void LoginForm::Save_yonghuList()
{
    if (name.empty()) {
        frame_.dm().ShowMessage_jd("用户名称不能为空！");
        return;
    }
    if (!nameIsOneLine()) return;
    focus = Focus::Password;
    try {
        name = history_->record(name);
        items = history_->items();
    } catch (const std::exception& e) {
        // The name cannot be kept in the history file (a locked or full disk, a read-only
        // file): say so and log in with the name as typed.
        app::interaction().showError(e.what());
    }
}

void LoginForm::passwordEnter()
{
    if (password.empty()) {
        frame_.dm().ShowMessage_jd("用户密码不能为空！");
        return;
    }
    focus = Focus::LoginButton;
}

void LoginForm::login()
{
    if (name.empty()) {
        frame_.dm().ShowMessage_jd("用户名称不能为空!");
        focus = Focus::Name;
        return;
    }
    if (!nameIsOneLine()) return;
    Save_yonghuList();
    if (password.empty()) {
        frame_.dm().ShowMessage_jd("用户密码不能为空!");
        focus = Focus::Password;
        return;
    }
    if (!app::runAction([this] { test_YongHu_Mima(); })) return;  // database error: the window stays
    if (result) {
        closed = true;
        frame_.LoginFailed = !app::runAction([this] { afterLogin(); });
        if (!frame_.LoginFailed) frame_.startFileCheck();
        return;
    }
    frame_.dm().ShowMessage_jd(std::string("用户登录失败！请重新输入用户名和密码！\r") + app::kSupportLine);
}

void LoginForm::quit()
{
    frame_.LoginFailed = true;
    closed = true;
}

void LoginForm::afterLogin()
{
    app::TDM& dm = frame_.dm();
    if (!dm.DMADO.isServer()) {
        // An older database gets the tables the program creates itself and those of later versions;
        // a file that cannot be brought up to date is not worked on.
        dm.updateSchema();
        return;
    }
    // The operators may not change the tables: the office's database is made, and brought up to
    // date, by the server's administrator.
    const int version = db::schemaVersionOf(dm.DMADO), newest = db::currentSchemaVersion();
    if (version == newest) return;
    const std::string which = "服务器上的数据库 " + server_->where() + " 是第" + std::to_string(version) + "版，本程序使用第"
        + std::to_string(newest) + "版。";
    throw db::DbError(db::DbError::Kind::Other, which + (version > newest ? "请使用新版本的程序。" : "请服务器管理员运行 rsgz --upgrade-office 升级这个数据库（升级前会先备份它）。"));
}

bool LoginForm::openFile()
{
    app::TDM& dm = frame_.dm();
    dm.DMADO.setPath(dm.livePath());
    app::ensureLiveDatabase(dm);
    // What the login reads is checked once per run, before the connection first opens the file; a
    // retyped password does not read it again. The whole file is checked after the login.
    if (!databaseChecked_) {
        app::checkLiveDatabase(dm);
        databaseChecked_ = true;
    }
    dm.zh.setSql({"Select * from 权限", "where 姓名 =" + db::sqlQuote(name)});
    return true;
}

bool LoginForm::openServer(const app::ServerSettings& server)
{
    app::TDM& dm = frame_.dm();
    dm.DMADO.setServer(server.target(name, password));
    try {
        dm.DMADO.open();
    } catch (const db::DbError& e) {
        dm.DMADO.close();
        // A wrong password and an unknown name look alike to the server, as they should.
        if (e.kind() == db::DbError::Kind::Denied) return false;
        if (e.kind() != db::DbError::Kind::Lost) throw;
        // A server that trusts its socket names an unknown role instead.
        if (e.detail().find("role \"" + name + "\"") != std::string::npos) return false;
        throw db::DbError(db::DbError::Kind::Lost,
                          "无法连接数据库服务器 " + server.where() + "。\r请检查网络，以及 set/database.ini 中的服务器地址、端口和数据库名称，"
                          "或者请服务器管理员检查服务器是否在运行。\r服务器的回答：" + e.detail(),
                          e.detail());
    }
    // The server knows the password; the operator's rights are its memberships.
    dm.zh.setSql({std::string("select * from ") + db::kOperatorView, "where 姓名 =" + db::sqlQuote(name)});
    return true;
}

void LoginForm::test_YongHu_Mima()
{
    app::TDM& dm = frame_.dm();
    result = false;
    // Until this attempt succeeds no operator's row is there to read rights from.
    dm.zh.close();
    // Read at every attempt, so that a file put right while the window is open counts.
    server_ = app::readServerSettings(frame_.ProgramDir);
    settingsFault_.clear();
    if (!(server_ ? openServer(*server_) : openFile())) return;
    dm.zh.open();
    if (!dm.zh.isEmpty()) {
        dm.zh.first();
        result = dm.zh.asString("姓名") == name && (server_ || app::verifyPassword(dm.zh.asString("密码"), password));
    }
    if (!result) {
        dm.zh.close();
        return;
    }
    frame_.CurrentOperator = name;
}

}  // namespace rsgz::admin
