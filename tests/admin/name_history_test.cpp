#include <gtest/gtest.h>

#include <QFile>

#include "admin/NameHistory.h"
#include "db/Gbk.h"
#include "support/TempDir.h"

using rsgz::admin::NameHistory;
using Names = std::vector<std::string>;

namespace {

const char* const kFile = "YongHuNameList.Cfg";

std::string fileBytes(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
}

}  // namespace

TEST(NameHistory, RecordsTypedNames)
{
    struct Case {
        const char* what;
        Names before;  // empty: no file yet
        std::string typed;
        std::string loginName;
        Names after;
    };
    const Case cases[] = {
        {"first name ever", {}, "Li", "Li", {"Li"}},
        {"new name goes on top", {"a", "b"}, "c", "c", {"c", "a", "b"}},
        {"known name moves to top", {"a", "li", "b"}, "li", "li", {"li", "a", "b"}},
        {"other case takes the entry's case", {"a", "li"}, "LI", "li", {"li", "a"}},
        {"mixed case the same", {"Li"}, "lI", "Li", {"Li"}},
        {"already on top", {"Li", "a"}, "LI", "Li", {"Li", "a"}},
        // The history is written before the password is checked, so a name that is about to
        // fail the login is recorded all the same.
        {"unknown operator still recorded", {"admin"}, "nobody", "nobody", {"nobody", "admin"}},
        {"Chinese names", {"张三", "李四"}, "李四", "李四", {"李四", "张三"}},
        {"Chinese compared exactly", {"张三"}, "张三丰", "张三丰", {"张三丰", "张三"}},
        {"full-width letters keep case", {"ＬＩ"}, "ｌｉ", "ｌｉ", {"ｌｉ", "ＬＩ"}},
        {"Greek letters keep case", {"Ωmega"}, "ωMEGA", "ωMEGA", {"ωMEGA", "Ωmega"}},
        {"Latin inside Chinese folds", {"王Xiao"}, "王xiao", "王Xiao", {"王Xiao"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        rsgz::test::TempDir dir;
        const std::string path = dir.file(kFile);
        if (!c.before.empty()) rsgz::db::writeSettingsLines(path, c.before);

        NameHistory history = NameHistory::load(path);
        EXPECT_EQ(history.items(), c.before);
        EXPECT_EQ(history.record(c.typed), c.loginName);
        EXPECT_EQ(history.items(), c.after);
        EXPECT_EQ(NameHistory::load(path).items(), c.after);
    }
}

TEST(NameHistory, FindsNamesIgnoringLatinCaseOnly)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.file(kFile);
    rsgz::db::writeSettingsLines(path, {"admin", "Li", "张三"});
    const NameHistory history = NameHistory::load(path);
    EXPECT_EQ(history.indexOfIgnoringLatinCase("ADMIN"), 0);
    EXPECT_EQ(history.indexOfIgnoringLatinCase("li"), 1);
    EXPECT_EQ(history.indexOfIgnoringLatinCase("张三"), 2);
    EXPECT_EQ(history.indexOfIgnoringLatinCase("张"), -1);
    EXPECT_EQ(history.indexOfIgnoringLatinCase("Li "), -1);
}

TEST(NameHistory, FileIsGbkWithCrLfMostRecentFirst)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.file(kFile);
    NameHistory history = NameHistory::load(path);
    EXPECT_TRUE(history.items().empty());
    history.record("admin");
    history.record("人事");
    EXPECT_EQ(fileBytes(path), "\xC8\xCB\xCA\xC2\r\nadmin\r\n");
}

TEST(NameHistory, NamesWithRareCharactersAreKeptAndAnEmptyNameLeavesTheFileAsItWas)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.file(kFile);
    rsgz::db::writeSettingsLines(path, {"张三", "admin"});

    NameHistory history = NameHistory::load(path);
    history.record("王䶮");
    history.record("𠀀明");
    EXPECT_EQ(NameHistory::load(path).items(), (Names{"𠀀明", "王䶮", "张三", "admin"}));
    const std::string before = fileBytes(path);
    EXPECT_THROW(history.record(""), std::invalid_argument);
    EXPECT_EQ(fileBytes(path), before);
}
