#pragma once
#include <string>

namespace rsgz::app {

// The desktop picture's path, kept as the first line of imagestart.dat in the program directory.
class DesktopPicture {
public:
    explicit DesktopPicture(std::string programDir) : programDir_(std::move(programDir)) {}

    std::string settingsPath() const { return programDir_ + "imagestart.dat"; }
    // The picture to show: the first line of the file when that picture exists, otherwise empty
    // (no file, an unreadable file, a picture that is gone) and the area keeps what it shows.
    std::string load() const;
    // Remembers a chosen picture: its path becomes the file's only line. Throws when the file
    // cannot be written.
    void choose(const std::string& picturePath) const;

private:
    std::string programDir_;
};

}  // namespace rsgz::app
