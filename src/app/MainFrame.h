#pragma once
#include <string>

#include "app/Navigation.h"

namespace rsgz::app {

class TDM;

// What the main window does apart from drawing itself: the program directory, the login state,
// the navigation, the work done when it becomes the focused window, and the copy taken when it closes.
class MainFrame {
public:
    explicit MainFrame(TDM& dm);

    std::string ProgramDir;
    std::string CurrentOperator;
    bool LoginFailed = false;

    TDM& dm() const { return dm_; }
    Navigation& navigation() { return nav_; }

    // Creation steps before the login: directory, import connection pieces, cleared flags.
    void create(const std::string& programDir);
    // Activation: the desktop picture, the print entries, the company particulars. False when the
    // login failed: the window must then close without the copy.
    bool activate();
    // After a login: the full structural check of the live file, on a thread of its own (none on a
    // server, which checks its pages as it reads them).
    void startFileCheck();
    enum class FileCheck { Running, Sound, Damaged, NotChecked };
    // Where that check stands, asked without waiting. On Damaged the window closes: the operator
    // must not go on writing into a damaged file, and BeiFen_data tells the way back.
    FileCheck fileCheck();
    // The close-time copy data/vesk.db -> bak/yyyymmdd.db. A database that failed the check after
    // the login, or fails the engine's structural check now, never replaces a copy: it is written
    // as bak/yyyymmdd-损坏.db instead and the user is told. Any other failure is not reported;
    // the program ends either way. On a server it is the server's archive bak/yyyymmdd.dump,
    // taken only by the first clerk to close that day; the others see a note in the status bar.
    void BeiFen_data();
    // The file BeiFen_data writes today, and the name a damaged database is kept under.
    std::string backupPathForToday() const;
    std::string damagedBackupPathForToday() const;

private:
    void keepDamagedCopy(const std::string& told);

    TDM& dm_;
    Navigation nav_;
    FileCheck fileCheck_ = FileCheck::NotChecked;
    std::string damage_;  // what the check after the login found
};

}  // namespace rsgz::app
