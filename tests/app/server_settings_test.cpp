#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <string_view>

#include "app/ServerSettings.h"
#include "support/TempDir.h"

using namespace rsgz;
using namespace std::string_view_literals;

namespace {

struct Good {
    const char* text;
    const char* host;
    int port;
    const char* database;
};

struct Bad {
    std::string_view text;
    const char* said;  // a part of the message that names the fault
};

}  // namespace

TEST(ServerSettingsFile, SoundFilesGiveTheServer)
{
    const Good cases[] = {
        {"[server]\nhost=db.example.org\nport=5432\ndatabase=rsgz\n", "db.example.org", 5432, "rsgz"},
        // Comments, blanks, Windows line ends, a byte order mark, keys in any case, the port left out.
        {"\xEF\xBB\xBF; 人事工资\r\n\r\n[Server]\r\n  HOST = 10.1.2.3   ; the office server\r\nDatabase=人事\r\n", "10.1.2.3", 5432, "人事"},
        {"# socket\n[server]\nhost=/var/run/postgresql\nport=5433 # cluster two\ndatabase=a#b", "/var/run/postgresql", 5433, "a#b"},
    };
    for (const Good& c : cases) {
        const app::ServerSettings s = app::parseServerSettings(c.text, "database.ini");
        EXPECT_EQ(s.host, c.host) << c.text;
        EXPECT_EQ(s.port, c.port) << c.text;
        EXPECT_EQ(s.database, c.database) << c.text;
    }
    const db::ServerTarget t = app::parseServerSettings(cases[0].text, "x").target("李", "pw");
    EXPECT_EQ(t.user, "李");
    EXPECT_EQ(t.password, "pw");
    EXPECT_EQ(t.applicationName, "李");
}

TEST(ServerSettingsFile, FaultsAreNamedWithTheirLine)
{
    const Bad cases[] = {
        {"", "没有 [server]"},
        {"host=a\n", "第 1 行：设置项“host”应写在 [server] 之下"},
        {"[server]\nhost=a\nport=abc\ndatabase=d\n", "第 3 行：端口“abc”"},
        {"[server]\nhost=a\nport=70000\ndatabase=d\n", "端口“70000”"},
        {"[server]\nhost=a\nport=-1\ndatabase=d\n", "端口“-1”"},
        {"[server]\nhost=a\nport=5432x\ndatabase=d\n", "端口“5432x”"},
        {"[server]\nhost=a\ndatabase=d\npassword=secret\n", "第 4 行：这个文件里不能保存密码"},
        {"[server]\nhost=a\nuser=x\ndatabase=d\n", "未知的设置项“user”"},
        {"[server]\nhost=a\nhost=b\ndatabase=d\n", "第 3 行：设置项“host”出现了两次"},
        {"[server]\ndatabase=d\n", "没有写明数据库服务器"},
        {"[server]\nhost=a\n", "没有写明数据库名称"},
        {"[server]\nhost=\ndatabase=d\n", "设置项“host”没有值"},
        {"[server]\nhost a\n", "第 2 行：应为“名称=值”"},
        {"[client]\nhost=a\n", "未知的节 [client]"},
        {"[server\nhost=a\n", "缺少“]”"},
        {"[server]\nhost=a\ndatabase=d\n[server]\n", "[server] 出现了两次"},
        {"[server]\nhost=a\0b\ndatabase=d\n"sv, "空字符"},
    };
    for (const Bad& c : cases) {
        try {
            app::parseServerSettings(c.text, "/x/set/database.ini");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const std::runtime_error& e) {
            const std::string said = e.what();
            EXPECT_NE(said.find(c.said), std::string::npos) << said;
            EXPECT_NE(said.find("/x/set/database.ini"), std::string::npos) << said;
            EXPECT_NE(said.find("删除它则使用本机的数据库文件"), std::string::npos) << said;
        }
    }
}

TEST(ServerSettingsFile, NoFileMeansTheDatabaseFile)
{
    test::TempDir dir;
    EXPECT_FALSE(app::readServerSettings(dir.path()).has_value());
    QFile f(QString::fromStdString(dir.filePath("set/database.ini")));
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(dir.filePath("set"))));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[server]\nhost=h\ndatabase=d\n");
    f.close();
    ASSERT_TRUE(app::readServerSettings(dir.path()).has_value());
    EXPECT_EQ(app::readServerSettings(dir.path() + "/")->where(), "h:5432/d");
}
