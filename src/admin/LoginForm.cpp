#include "admin/LoginForm.h"

#include "app/PasswordHash.h"
#include "app/Interaction.h"
#include "app/LiveDatabase.h"
#include "app/MainFrame.h"
#include "app/Product.h"
#include "app/TDM.h"
#include "db/SqlText.h"

namespace rsgz::admin {

LoginForm::LoginForm(app::MainFrame& frame) : frame_(frame)
{
    name = app::kDefaultOperator;
    password = app::kDefaultPassword;
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
        // An older database gets the tables the program creates itself and those of later versions;
        // a file that cannot be brought up to date is not worked on.
        frame_.LoginFailed = !app::runAction([this] { frame_.dm().updateSchema(); });
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

void LoginForm::test_YongHu_Mima()
{
    app::TDM& dm = frame_.dm();
    result = false;
    // Until this attempt succeeds no operator's row is there to read rights from.
    dm.zh.close();
    app::ensureLiveDatabase(dm);
    // What the login reads is checked once per run, before the connection first opens the file; a
    // retyped password does not read it again. The whole file is checked after the login.
    if (!databaseChecked_) {
        app::checkLiveDatabase(dm);
        databaseChecked_ = true;
    }
    dm.zh.setSql({"Select * from 权限", "where 姓名 =" + db::sqlQuote(name)});
    dm.zh.open();
    if (!dm.zh.isEmpty()) {
        dm.zh.first();
        result = dm.zh.asString("姓名") == name && app::verifyPassword(dm.zh.asString("密码"), password);
    }
    if (!result) {
        dm.zh.close();
        return;
    }
    frame_.CurrentOperator = name;
}

}  // namespace rsgz::admin
