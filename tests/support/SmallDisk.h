#pragma once
#include <string>

namespace rsgz::test {

// A folder that stands for a full disk: a memory file system of a few kilobytes mounted on it for
// as long as the object lives. Only an administrator may mount one; mounted() says whether it is.
class SmallDisk {
public:
    explicit SmallDisk(std::string folder, int kilobytes = 64);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool mounted() const { return mounted_; }
    const std::string& path() const { return folder_; }

private:
    std::string folder_;
    bool mounted_ = false;
};

}  // namespace rsgz::test
