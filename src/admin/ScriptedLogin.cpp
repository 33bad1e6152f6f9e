#include "admin/ScriptedLogin.h"

#include <istream>
#include <string>

#include "admin/LoginForm.h"
#include "app/MainFrame.h"

namespace rsgz::admin {

namespace {

// One line of at most a name's or a password's length; false at the end of the input.
bool readLine(std::istream& in, std::string& line)
{
    constexpr std::size_t kMaxLine = 1000;
    if (!std::getline(in, line) || line.size() > kMaxLine) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

}  // namespace

bool scriptedLogin(app::MainFrame& frame, std::istream& in)
{
    LoginForm form(frame);
    std::string name, password;
    if (!readLine(in, name) || !readLine(in, password)) {
        form.quit();
        return false;
    }
    form.nameChanged(name);
    form.password = password;
    form.login();
    return !frame.LoginFailed;
}

}  // namespace rsgz::admin
