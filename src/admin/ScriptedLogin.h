#pragma once
#include <iosfwd>

namespace rsgz::app {
class MainFrame;
}

namespace rsgz::admin {

// A login without the window, for starting the whole program from a script (rsgz
// --login-from-stdin, used by the check of the installed package): the operator's name and the
// password are read as two lines from in and go through exactly the checks of 登录. The password
// is never taken from the command line, where other users of the machine could read it. Notices
// reach the installed interaction. True when the operator is logged in.
bool scriptedLogin(app::MainFrame& frame, std::istream& in);

}  // namespace rsgz::admin
