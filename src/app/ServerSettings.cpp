#include "app/ServerSettings.h"

#include <QFile>
#include <QSaveFile>

#include <charconv>
#include <set>
#include <stdexcept>
#include <vector>

#include "db/LatinCase.h"

namespace rsgz::app {

namespace {

constexpr std::string_view kSection = "server";

std::string_view trimmed(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// A comment starts a line, or follows blanks after a value ("port=5432 ; the default").
std::string_view withoutComment(std::string_view line)
{
    const std::string_view t = trimmed(line);
    if (t.empty() || t.front() == ';' || t.front() == '#') return {};
    for (size_t i = 1; i < t.size(); ++i)
        if ((t[i] == ';' || t[i] == '#') && (t[i - 1] == ' ' || t[i - 1] == '\t')) return trimmed(t.substr(0, i));
    return t;
}

class Reader {
public:
    explicit Reader(const std::string& fileName) : fileName_(fileName) {}

    [[noreturn]] void fail(const std::string& what) const
    {
        const std::string where = line_ > 0 ? "第 " + std::to_string(line_) + " 行" : std::string();
        throw std::runtime_error("数据库设置文件 " + fileName_ + " 不正确：" + where + (where.empty() ? "" : "：") + what
                                 + "\r请改正这个文件后重新登录；删除它则使用本机的数据库文件 data/vesk.db。");
    }

    void line(int number, std::string_view text)
    {
        line_ = number;
        const std::string_view t = withoutComment(text);
        if (t.empty()) return;
        if (t.front() == '[') return section(t);
        const size_t eq = t.find('=');
        if (eq == std::string_view::npos) fail("应为“名称=值”，而不是“" + std::string(t) + "”");
        if (!inSection_) fail("设置项“" + std::string(trimmed(t.substr(0, eq))) + "”应写在 [server] 之下");
        value(db::foldLatin(trimmed(t.substr(0, eq))), trimmed(t.substr(eq + 1)));
    }

    ServerSettings finish()
    {
        line_ = 0;
        if (!inSection_) fail("文件中没有 [server] 一节");
        if (settings_.host.empty()) fail("没有写明数据库服务器（host=…）");
        if (settings_.database.empty()) fail("没有写明数据库名称（database=…）");
        return settings_;
    }

private:
    void section(std::string_view t)
    {
        if (t.back() != ']') fail("节名“" + std::string(t) + "”缺少“]”");
        const std::string name = db::foldLatin(trimmed(t.substr(1, t.size() - 2)));
        if (name != kSection) fail("未知的节 [" + name + "]，只能有 [server]");
        if (inSection_) fail("[server] 出现了两次");
        inSection_ = true;
    }

    void value(const std::string& key, std::string_view v)
    {
        if (key == "password" || key == "passwd" || key == "pwd")
            fail("这个文件里不能保存密码：密码在登录窗口中输入");
        if (key != "host" && key != "port" && key != "database")
            fail("未知的设置项“" + key + "”，只能有 host、port 和 database");
        if (!seen_.insert(key).second) fail("设置项“" + key + "”出现了两次");
        if (v.empty()) fail("设置项“" + key + "”没有值");
        if (key == "host") settings_.host = std::string(v);
        else if (key == "database") settings_.database = std::string(v);
        else settings_.port = port(v);
    }

    int port(std::string_view v) const
    {
        int n = 0;
        const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
        if (ec != std::errc() || end != v.data() + v.size() || v.front() == '-' || v.front() == '+' || n < 1 || n > 65535)
            fail("端口“" + std::string(v) + "”应是 1 到 65535 之间的整数");
        return n;
    }

    std::string fileName_;
    int line_ = 0;
    bool inSection_ = false;
    std::set<std::string> seen_;
    ServerSettings settings_;
};

}  // namespace

db::ServerTarget ServerSettings::target(const std::string& user, const std::string& password) const
{
    db::ServerTarget t;
    t.host = host;
    t.port = port;
    t.database = database;
    t.user = user;
    t.password = password;
    t.applicationName = user;
    return t;
}

std::string ServerSettings::where() const { return host + ":" + std::to_string(port) + "/" + database; }

std::string serverSettingsPath(const std::string& workDir)
{
    std::string dir = workDir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir + "set/database.ini";
}

ServerSettings parseServerSettings(std::string_view text, const std::string& fileName)
{
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a byte order mark some editors write
    Reader reader(fileName);
    int number = 0;
    while (!text.empty() || number == 0) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        ++number;
        if (line.find('\0') != std::string_view::npos) reader.fail("含有空字符，不是文本文件");
        reader.line(number, line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return reader.finish();
}

std::optional<ServerSettings> readServerSettings(const std::string& workDir)
{
    const std::string path = serverSettingsPath(workDir);
    QFile file(QString::fromStdString(path));
    if (!file.exists()) return std::nullopt;
    // A settings file is a few lines: anything much larger is not one.
    constexpr qint64 kMaxSize = 64 * 1024;
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("无法读取数据库设置文件 " + path + "：" + file.errorString().toStdString());
    if (file.size() > kMaxSize)
        throw std::runtime_error("数据库设置文件 " + path + " 不正确：文件太大（" + std::to_string(file.size())
                                 + " 字节），不是设置文件。\r请改正这个文件后重新登录；删除它则使用本机的数据库文件 data/vesk.db。");
    const QByteArray bytes = file.readAll();
    return parseServerSettings(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), path);
}

std::string serverSettingsText(const ServerSettings& settings)
{
    return "; 数据库服务器（不保存密码：密码在登录窗口中输入）\n[server]\nhost=" + settings.host + "\nport="
         + std::to_string(settings.port) + "\ndatabase=" + settings.database + "\n";
}

void writeServerSettings(const std::string& workDir, const ServerSettings& settings)
{
    const std::string path = serverSettingsPath(workDir);
    QSaveFile file(QString::fromStdString(path));
    const std::string text = serverSettingsText(settings);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 || !file.commit())
        throw std::runtime_error("无法写入数据库设置文件 " + path + "：" + file.errorString().toStdString());
}

}  // namespace rsgz::app
