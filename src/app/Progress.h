#pragma once
#include <string>

namespace rsgz::app {

// The progress window of one long operation, through the interaction interface. It opens when
// made and closes when close() is called or the object goes out of scope, whichever is first;
// close it before telling the user how the work ended.
class Progress {
public:
    Progress(const std::string& caption, const std::string& text, int total);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // done of the total; repaints the window.
    void step(int done);
    void close();

private:
    bool open_ = true;
};

}  // namespace rsgz::app
