#include "support/TestDatabase.h"

#include <filesystem>
#include <memory>

#include "app/TDM.h"

namespace rsgz::test {

namespace {
const std::string& madeTemplate()
{
    static const auto dir = std::make_unique<TempDir>();
    static const std::string path = [] {
        const std::string p = dir->filePath("vesk.db");
        app::createTemplateDatabase(p);
        return p;
    }();
    return path;
}
}  // namespace

TestDatabase::TestDatabase()
{
    namespace fs = std::filesystem;
    for (const char* sub : {"init", "data", "bak", "set", "baobiao", "照片"}) fs::create_directory(dir_.filePath(sub));
    fs::copy_file(madeTemplate(), templatePath());
    fs::copy_file(madeTemplate(), livePath());
}

}  // namespace rsgz::test
