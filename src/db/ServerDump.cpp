#include "db/ServerDump.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>
#include <sstream>

#include "db/DbError.h"
#include "db/Dialect.h"
#include "db/WorkLock.h"

namespace rsgz::db {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// A file named on a tool's command line: whole, so that no name can be read as an option.
std::string wholePath(const std::string& file) { return QFileInfo(q(file)).absoluteFilePath().toStdString(); }

// The tools speak English to the program, whatever the machine's language: their progress lines
// are read, and their messages are only shown below the program's own words.
QProcessEnvironment toolEnvironment(const ServerTarget& t)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"PGSERVICE", "PGSERVICEFILE", "PGOPTIONS", "PGTARGETSESSIONATTRS", "PGHOSTADDR"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("PGHOST"), q(t.host));
    env.insert(QStringLiteral("PGPORT"), QString::number(t.port));
    env.insert(QStringLiteral("PGDATABASE"), q(t.database));
    env.insert(QStringLiteral("PGUSER"), q(t.user));
    if (t.password.empty())
        env.remove(QStringLiteral("PGPASSWORD"));
    else
        env.insert(QStringLiteral("PGPASSWORD"), q(t.password));
    if (!t.applicationName.empty()) env.insert(QStringLiteral("PGAPPNAME"), q(writeApplicationName(t.applicationName)));
    env.insert(QStringLiteral("PGCLIENTENCODING"), QStringLiteral("UTF8"));
    env.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QStringLiteral("15"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.insert(QStringLiteral("LANGUAGE"), QStringLiteral("C"));
    return env;
}

bool contains(const std::string& text, const char* word) { return text.find(word) != std::string::npos; }

// The lines of the tool's messages that say what went wrong; its progress lines are left out.
std::string complaint(const std::string& err)
{
    std::istringstream in(err);
    std::string line, said, last;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        last = line;
        if (contains(line, "error") || contains(line, "FATAL") || contains(line, "ERROR") || contains(line, "DETAIL")
            || contains(line, "HINT") || contains(line, "failed"))
            said += (said.empty() ? "" : "\n") + line;
    }
    return said.empty() ? last : said;
}

DbError::Kind kindOf(const std::string& said)
{
    if (contains(said, "password authentication failed") || contains(said, "permission denied")
        || contains(said, "no password supplied") || contains(said, "must be owner"))
        return DbError::Kind::Denied;
    if (contains(said, "connection to server") || contains(said, "could not connect") || contains(said, "server closed"))
        return DbError::Kind::Lost;
    if (contains(said, "No space left")) return DbError::Kind::Full;
    return DbError::Kind::Other;
}

// What the program says above the tool's own words.
std::string reason(DbError::Kind kind)
{
    switch (kind) {
    case DbError::Kind::Denied: return "服务器拒绝了这项操作：用户名或密码不对，或者没有这项操作所需的权限。";
    case DbError::Kind::Lost: return "连接不上数据库服务器，或者与服务器的连接中断了。";
    case DbError::Kind::Full: return "磁盘空间不足。";
    default: return "数据库服务器的工具程序报告了错误。";
    }
}

// "TABLE public 员工基本情况 owner" after the entry's number and object ids.
struct TocEntry {
    std::string type;
    std::string schema;
    std::string name;
};

std::optional<TocEntry> tocEntry(const std::string& line)
{
    if (line.empty() || line[0] == ';') return std::nullopt;
    const size_t semi = line.find("; ");
    if (semi == std::string::npos) return std::nullopt;
    std::istringstream in(line.substr(semi + 2));
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    // two object ids, the type (one or two words), the schema, the name and the owner
    if (words.size() < 6) return std::nullopt;
    TocEntry e;
    size_t i = 2;
    e.type = words[i++];
    if (words[i] == "DATA" || words[i] == "SET" || words[i] == "TRIGGER" || words[i] == "VIEW" || words[i] == "ACL"
        || words[i] == "CONSTRAINT" || words[i] == "BY")
        e.type += " " + words[i++];
    if (words.size() < i + 3) return std::nullopt;
    e.schema = words[i++];
    for (size_t k = i; k + 1 < words.size(); ++k) e.name += (e.name.empty() ? "" : " ") + words[k];
    return e;
}

}  // namespace

struct ServerDump::Run {
    int exitCode = 0;
    bool ok = false;
    std::string out;
    std::string err;
};

ServerDump::ServerDump(ServerTarget target) : target_(std::move(target)) {}

// Runs one tool to its end. Lines on its error channel that start with "<tool>: processing" or
// "<tool>: dumping contents" each count one step, as do the statements psql echoes that load a
// table.
ServerDump::Run ServerDump::run(const std::string& tool, const std::vector<std::string>& args, int total, int stepsBefore)
{
    const QString program = toolFolder.empty() ? QStandardPaths::findExecutable(q(tool))
                                               : QStandardPaths::findExecutable(q(tool), {q(toolFolder)});
    if (program.isEmpty())
        throw DbError(DbError::Kind::Other, "找不到数据库服务器的工具程序 " + tool + "，请安装 postgresql-client 软件包。");
    QStringList arguments;
    for (const std::string& a : args) arguments << q(a);
    QProcess p;
    p.setProcessEnvironment(toolEnvironment(target_));
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(program, arguments);
    if (!p.waitForStarted())
        throw DbError(DbError::Kind::Other, "不能启动数据库服务器的工具程序 " + tool + "。", p.errorString().toStdString());
    Run r;
    int done = stepsBefore;
    std::string errLine, outLine;
    auto count = [&](std::string& pending, const QByteArray& more, auto counts) {
        pending += more.toStdString();
        for (size_t nl; (nl = pending.find('\n')) != std::string::npos; pending.erase(0, nl + 1))
            if (counts(pending.substr(0, nl))) ++done;
    };
    const std::string progressWord = tool + ": processing data";
    const std::string dumpWord = tool + ": dumping contents";
    for (bool finished = false; !finished;) {
        finished = p.waitForFinished(100) || p.state() == QProcess::NotRunning;
        const QByteArray err = p.readAllStandardError();
        const QByteArray out = p.readAllStandardOutput();
        r.err += err.toStdString();
        r.out += out.toStdString();
        count(errLine, err, [&](const std::string& l) { return l.starts_with(progressWord) || l.starts_with(dumpWord); });
        count(outLine, out, [](const std::string& l) { return l.starts_with("COPY "); });
        if (onProgress) onProgress(std::min(done, total), total);
    }
    r.exitCode = p.exitCode();
    r.ok = p.exitStatus() == QProcess::NormalExit && r.exitCode == 0;
    return r;
}

void ServerDump::dump(const std::string& file, int tables)
{
    const std::string partial = file + ".part";
    QFile::remove(q(partial));
    const Run r = run("pg_dump", {"--format=custom", "--verbose", "--file=" + partial}, tables, 0);
    if (!r.ok) {
        QFile::remove(q(partial));
        const std::string said = complaint(r.err);
        throw DbError(kindOf(said), "备份没有完成。" + reason(kindOf(said)), said);
    }
    QFile::remove(q(file));
    if (!QFile::rename(q(partial), q(file))) {
        QFile::remove(q(partial));
        throw DbError(DbError::Kind::Other, "不能把备份写成文件 " + file + "。");
    }
}

DumpContents ServerDump::contents(const std::string& file)
{
    if (!QFile::exists(q(file))) throw DbError(DbError::Kind::Other, "找不到文件 " + file + "。");
    const Run r = run("pg_restore", {"--list", wholePath(file)}, 1, 0);
    if (!r.ok) throw DbError(DbError::Kind::Damaged, "文件 " + file + " 不是数据库服务器的备份文件，或者已经损坏。", complaint(r.err));
    DumpContents c;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) {
        if (const size_t at = line.find("dbname: "); line.starts_with(";") && at != std::string::npos)
            c.database = line.substr(at + 8);
        const std::optional<TocEntry> e = tocEntry(line);
        if (e && e->type == "TABLE" && e->schema == "public") c.tables.push_back(e->name);
    }
    return c;
}

void ServerDump::restoreRows(const std::string& file, const std::vector<std::string>& tables)
{
    const int total = 2 * static_cast<int>(tables.size());
    // The rows are first read out of the archive whole: an archive damaged anywhere fails here,
    // before the database is touched.
    QTemporaryDir work;
    if (!work.isValid()) throw DbError(DbError::Kind::Other, "不能建立临时文件夹。", work.errorString().toStdString());
    const std::string script = QDir(work.path()).filePath(QStringLiteral("rows.sql")).toStdString();
    const Run read = run("pg_restore", {"--data-only", "--verbose", "--file=" + script, wholePath(file)}, total, 0);
    if (!read.ok)
        throw DbError(DbError::Kind::Damaged, "文件 " + file + " 已经损坏，读不出其中的数据。", complaint(read.err));
    std::string emptying;
    for (const std::string& t : tables) emptying += "delete from public." + postgresDialect().quoteName(t) + ";";
    // One transaction around the emptying and the loading; the first failing statement rolls it back.
    const Run load = run("psql", {"--no-psqlrc", "--quiet", "--echo-queries", "--set=ON_ERROR_STOP=1", "--single-transaction",
                                  "--command=" + emptying, "--file=" + script},
                         total, static_cast<int>(tables.size()));
    if (!load.ok) {
        const std::string said = complaint(load.err);
        throw DbError(kindOf(said), "恢复没有完成。" + reason(kindOf(said)), said);
    }
}

void ServerDump::vacuum()
{
    const Run r = run("psql", {"--no-psqlrc", "--quiet", "--set=ON_ERROR_STOP=1", "--command=VACUUM (ANALYZE)"}, 1, 0);
    if (!r.ok) {
        const std::string said = complaint(r.err);
        throw DbError(kindOf(said), reason(kindOf(said)), said);
    }
}

}  // namespace rsgz::db
