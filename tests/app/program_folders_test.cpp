#include <gtest/gtest.h>

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <map>
#include <sstream>
#include <stdexcept>

#include "admin/ScriptedLogin.h"
#include "app/MainFrame.h"
#include "app/ProgramFolders.h"
#include "app/TDM.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"

using namespace rsgz;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

void writeFile(const std::string& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(q(path)).absolutePath());
    QFile f(q(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const std::string& path)
{
    QFile f(q(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

app::Environment environment(std::map<std::string, std::string> vars)
{
    return [vars](const char* name) {
        const auto it = vars.find(name);
        return it == vars.end() ? std::string() : it->second;
    };
}

// An unpacked installation below root: usr/bin (the program's folder) and usr/share/rsgz with the
// template and one shipped settings file.
struct Installation {
    test::TempDir tmp;
    std::string bin() const { return tmp.file("usr/bin"); }
    std::string shared() const { return tmp.file("usr/share/rsgz/"); }
    std::string home() const { return tmp.file("home"); }
    Installation()
    {
        QDir().mkpath(q(bin()));
        QDir().mkpath(q(shared() + "init"));
        app::createTemplateDatabase(shared() + "init/vesk.db");
        writeFile(shared() + "set/tongji.list", "shipped\n");
    }
};

}  // namespace

// Which folders the program takes, by what lies around the program file. A writable folder with
// the template beside the program is a program directory (the build's, an unpacked copy), as
// always; a program whose template lies in ../share/rsgz is installed even when its own folder
// could be written (run as root from /usr/bin it must not write data/ into /usr/bin).
TEST(ProgramFolders, ProgramDirectoryOrInstalledByTheLayoutAroundTheProgram)
{
    struct Case {
        const char* layout;
        bool templateBeside, templateShipped;
        bool installed;
        const char* workBelowRoot;      // relative to the temporary root
        const char* templateBelowRoot;
    };
    const Case cases[] = {
        {"build layout", true, false, false, "usr/bin/", "usr/bin/init/vesk.db"},
        {"installation", false, true, true, "home/.local/share/rsgz/", "usr/share/rsgz/init/vesk.db"},
        {"a copy beside an installation", true, true, false, "usr/bin/", "usr/bin/init/vesk.db"},
        {"no template anywhere", false, false, false, "usr/bin/", "usr/bin/init/vesk.db"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layout);
        test::TempDir root;
        QDir().mkpath(q(root.file("usr/bin")));
        if (c.templateBeside) writeFile(root.file("usr/bin/init/vesk.db"), "t");
        if (c.templateShipped) writeFile(root.file("usr/share/rsgz/init/vesk.db"), "t");
        const app::ProgramFolders f =
            app::locateProgramFolders(root.file("usr/bin"), environment({{"HOME", root.file("home")}}));
        EXPECT_EQ(f.installed, c.installed);
        EXPECT_EQ(f.workDir, root.file(c.workBelowRoot));
        EXPECT_EQ(f.templatePath(), root.file(c.templateBelowRoot));
    }
}

// A program directory that cannot be written keeps its template but works in the user's folder.
TEST(ProgramFolders, ReadOnlyProgramDirectoryWorksInTheUsersFolder)
{
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any folder";
    test::TempDir root;
    writeFile(root.file("prog/init/vesk.db"), "t");
    QFile::setPermissions(q(root.file("prog")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const app::ProgramFolders f = app::locateProgramFolders(root.file("prog"), environment({{"HOME", root.file("home")}}));
    QFile::setPermissions(q(root.file("prog")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(f.installed);
    EXPECT_EQ(f.workDir, root.file("home/.local/share/rsgz/"));
    EXPECT_EQ(f.templatePath(), root.file("prog/init/vesk.db"));
}

// $XDG_DATA_HOME names the user's data folder when it is an absolute path; a relative one is
// ignored, as is an empty one.
TEST(ProgramFolders, UsersDataFolderFollowsAnAbsoluteXdgDataHome)
{
    Installation inst;
    const struct {
        const char* xdg;
        std::string work;
    } cases[] = {
        {"", inst.home() + "/.local/share/rsgz/"},
        {"relative/data", inst.home() + "/.local/share/rsgz/"},
        {"/srv/data", "/srv/data/rsgz/"},
        {"/srv/data/", "/srv/data/rsgz/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.xdg);
        const auto env = environment({{"HOME", inst.home()}, {"XDG_DATA_HOME", c.xdg}});
        EXPECT_EQ(app::locateProgramFolders(inst.bin(), env).workDir, c.work);
    }
}

// The first start makes the working folders (the top one for the user only) and copies the shipped
// settings files; a later start copies only what is missing and leaves the user's own files and
// the shipped ones as they are.
TEST(ProgramFolders, FirstStartMakesTheFoldersFromTheShippedFilesAndLaterStartsKeepTheUsers)
{
    Installation inst;
    writeFile(inst.shared() + "set/A4.p", "2100\n2970\n");
    const app::ProgramFolders f = app::locateProgramFolders(inst.bin(), environment({{"HOME", inst.home()}}));
    ASSERT_TRUE(f.installed);

    app::prepareWorkFolders(f);
    for (const char* sub : {"data", "bak", "set", "baobiao", "照片"})
        EXPECT_TRUE(QFileInfo(q(f.workDir + sub)).isDir()) << sub;
    EXPECT_EQ(QFileInfo(q(f.workDir)).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
    EXPECT_EQ(readFile(f.workDir + "set/tongji.list"), "shipped\n");
    EXPECT_FALSE(QFileInfo::exists(q(f.workDir + "init")));  // the template stays where it is shipped

    writeFile(f.workDir + "set/tongji.list", "the user's own\n");
    QFile::remove(q(f.workDir + "set/A4.p"));
    app::prepareWorkFolders(f);
    EXPECT_EQ(readFile(f.workDir + "set/tongji.list"), "the user's own\n");
    EXPECT_EQ(readFile(f.workDir + "set/A4.p"), "2100\n2970\n");
    EXPECT_EQ(readFile(inst.shared() + "set/tongji.list"), "shipped\n");
    EXPECT_EQ(QDir(q(f.workDir + "set")).entryList(QDir::Files).size(), 2);  // no temporaries left
}

// A working folder that cannot be made is said in words naming it, before anything else runs.
TEST(ProgramFolders, FolderThatCannotBeMadeIsNamed)
{
    Installation inst;
    writeFile(inst.home() + "/.local/share/rsgz", "a file where the folder should be");
    const app::ProgramFolders f = app::locateProgramFolders(inst.bin(), environment({{"HOME", inst.home()}}));
    try {
        app::prepareWorkFolders(f);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(inst.home() + "/.local/share/rsgz"), std::string::npos) << e.what();
    }
}

// Installed, the first login makes the live database in the user's folder from the shipped
// template, which is left byte for byte as it was, and the close-time copy lands in that bak/.
TEST(ProgramFolders, InstalledLoginAndCloseWorkInTheUsersFolderOnly)
{
    Installation inst;
    const QByteArray shippedTemplate = readFile(inst.shared() + "init/vesk.db");
    const app::ProgramFolders f = app::locateProgramFolders(inst.bin(), environment({{"HOME", inst.home()}}));
    app::prepareWorkFolders(f);
    test::ScriptedInteraction ui;
    app::TDM dm;
    app::setDM(&dm);
    {
        app::MainFrame frame(dm);
        frame.create(f.workDir);
        dm.setTemplatePath(f.templatePath());
        std::istringstream typed("admin\nadmin\n");
        ASSERT_TRUE(admin::scriptedLogin(frame, typed)) << testing::PrintToString(ui.messages);
        EXPECT_EQ(frame.CurrentOperator, "admin");
        frame.BeiFen_data();
        EXPECT_EQ(QDir(q(f.workDir + "bak")).entryList(QDir::Files), QStringList{q(frame.backupPathForToday()).section('/', -1)});
    }
    dm.DMADO.close();
    app::setDM(nullptr);
    EXPECT_TRUE(QFileInfo(q(f.workDir + "data/vesk.db")).isFile());
    EXPECT_EQ(readFile(inst.shared() + "init/vesk.db"), shippedTemplate);
    EXPECT_EQ(QDir(q(inst.bin())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{});
    EXPECT_EQ(QDir(q(inst.shared())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), (QStringList{"init", "set"}));
}

// The scripted login goes through the checks of 登录: a wrong password or missing input logs no
// one in.
TEST(ScriptedLogin, WrongPasswordOrMissingLinesLogNoOneIn)
{
    Installation inst;
    const app::ProgramFolders f = app::locateProgramFolders(inst.bin(), environment({{"HOME", inst.home()}}));
    app::prepareWorkFolders(f);
    for (const char* typed : {"admin\nwrong\n", "admin\n", "", "admin\n\n"}) {
        SCOPED_TRACE(testing::PrintToString(typed));
        test::ScriptedInteraction ui;
        app::TDM dm;
        app::setDM(&dm);
        app::MainFrame frame(dm);
        frame.create(f.workDir);
        dm.setTemplatePath(f.templatePath());
        std::istringstream in(typed);
        EXPECT_FALSE(admin::scriptedLogin(frame, in));
        EXPECT_TRUE(frame.LoginFailed);
        app::setDM(nullptr);
    }
}
