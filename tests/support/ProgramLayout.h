#pragma once
#include <memory>
#include <string>

#include "app/MainFrame.h"
#include "app/TDM.h"
#include "support/EngineFixture.h"
#include "support/TempDir.h"

namespace rsgz::test {

// A program directory as the build lays it out (init/vesk.db from the schema code, empty data, bak,
// set, baobiao and 照片), with a data module and a main-window frame over it.
class ProgramLayout {
public:
    struct Options {
        bool withTemplate = true;   // init/vesk.db made from the schema code
        bool liveDatabase = false;  // and copied into data/ at once, as after the first login
        bool recordRules = false;   // the record rules bound to the data module, as the program does at start;
                                    // with a live database the default operator is then logged in
        // On the server the live database is a temporary database there (the template file is made
        // all the same): the data module connects to it, the folders stay beside it.
        Engine engine = Engine::File;
    };

    ProgramLayout() : ProgramLayout(Options{}) {}
    explicit ProgramLayout(Options options);
    ~ProgramLayout();

    std::string dir() const { return tmp_.path() + "/"; }
    std::string path(const std::string& relative) const { return dir() + relative; }
    app::TDM& dm() { return *dm_; }
    app::MainFrame& frame() { return *frame_; }
    // Copies the template into data/ (as the first login would) so the data module can connect; on
    // the server, fills the temporary database as a new office's.
    void makeLiveDatabase();
    bool onServer() const { return server_ != nullptr; }
    // The live database on the server (nullptr on a file), for a second clerk's connection.
    TemporaryDatabase* serverDatabase() { return server_.get(); }
    // Opens the operator's row in zh as a successful login leaves it, without asking for a password.
    void logIn(const std::string& name);
    // "select count(*) from " + the given table and condition, read through the scratch query s5.
    int count(const std::string& fromWhere);

private:
    TempDir tmp_;
    std::unique_ptr<TemporaryDatabase> server_;
    std::unique_ptr<app::TDM> dm_;
    std::unique_ptr<app::MainFrame> frame_;
};

}  // namespace rsgz::test
