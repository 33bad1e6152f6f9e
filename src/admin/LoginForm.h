#pragma once
#include <optional>
#include <string>
#include <vector>

#include "admin/NameHistory.h"
#include "app/ServerSettings.h"

namespace rsgz::app {
class MainFrame;
}

namespace rsgz::admin {

// What the login window does, without the window: the name history, the checks of 登录 and the
// password test against the operators. The window binds its boxes and buttons to this.
class LoginForm {
public:
    enum class Focus { Name, Password, LoginButton };

    explicit LoginForm(app::MainFrame& frame);

    std::vector<std::string> items;  // the name box's list (the history)
    std::string name;                // the name box's text
    std::string password;            // the password box's text
    Focus focus = Focus::Name;
    bool result = false;             // set by test_YongHu_Mima
    bool closed = false;             // the window is to close

    // The user put another name into the name box (chose it from the history or typed it): the
    // password in the box, the default operator's preset included, belongs to the old name.
    void nameChanged(const std::string& newName);
    void Save_yonghuList();  // Enter in the name box
    void passwordEnter();    // Enter in the password box
    void login();            // 登录
    void quit();             // 退出 and the close box
    void test_YongHu_Mima();

    std::string historyPath() const;
    // The status bar's hint: the default operator for the file, the server for a server.
    std::string hint() const;

private:
    bool nameIsOneLine();  // says so and keeps the window at the name when it is not
    // The database this attempt logs in to: the file (checked and made from the template as
    // needed), or the server named by set/database.ini as the typed name and password. False
    // when the server refused the name or the password.
    bool openFile();
    bool openServer(const app::ServerSettings& server);
    // After a good login: the file brought up to date, or the server's database of this version.
    void afterLogin();

    app::MainFrame& frame_;
    bool databaseChecked_ = false;
    std::optional<NameHistory> history_;
    std::optional<app::ServerSettings> server_;  // as the window opened, for its presets and hint
    std::string settingsFault_;                   // why set/database.ini could not be read then
};

}  // namespace rsgz::admin
