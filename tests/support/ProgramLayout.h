#pragma once
#include <memory>
#include <string>

#include "app/MainFrame.h"
#include "app/TDM.h"
#include "support/TempDir.h"

namespace rsgz::test {

// A program directory as the build lays it out (init/vesk.db from the schema code, empty data, bak,
// set, baobiao and 照片), with a data module and a main-window frame over it.
class ProgramLayout {
public:
    explicit ProgramLayout(bool withTemplate = true);
    ~ProgramLayout();

    std::string dir() const { return tmp_.path() + "/"; }
    std::string path(const std::string& relative) const { return dir() + relative; }
    app::TDM& dm() { return *dm_; }
    app::MainFrame& frame() { return *frame_; }
    // Copies the template into data/ (as the first login would) so the data module can connect.
    void makeLiveDatabase();

private:
    TempDir tmp_;
    std::unique_ptr<app::TDM> dm_;
    std::unique_ptr<app::MainFrame> frame_;
};

}  // namespace rsgz::test
