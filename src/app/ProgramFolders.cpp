#include "app/ProgramFolders.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdlib>
#include <stdexcept>

namespace rsgz::app {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

std::string withSlash(std::string dir)
{
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

bool isFile(const std::string& path) { return QFileInfo(q(path)).isFile(); }

bool writable(const std::string& dir) { return ::access(dir.c_str(), W_OK | X_OK) == 0; }

// $XDG_DATA_HOME when it is an absolute path (a relative one is to be ignored), else
// ~/.local/share; the home folder from $HOME, or from the user database when that is empty.
std::string userDataHome(const Environment& env)
{
    const std::string xdg = env("XDG_DATA_HOME");
    if (!xdg.empty() && xdg.front() == '/') return withSlash(xdg);
    std::string home = env("HOME");
    if (home.empty() || home.front() != '/') home = QDir::homePath().toStdString();
    return withSlash(home) + ".local/share/";
}

const char* const kWorkFolders[] = {"data", "bak", "set", "baobiao", "照片"};
const char* const kShippedFolders[] = {"set", "baobiao"};
// The shipped settings files are a few kilobytes; anything far larger is no file of ours.
constexpr qint64 kMaxShippedFile = 16 * 1024 * 1024;

[[noreturn]] void cannot(const std::string& what, const std::string& path, const QString& why = {})
{
    std::string text = what + " " + shownFolder(path);
    if (!why.isEmpty()) text += "：" + why.toStdString();
    throw std::runtime_error(text + "。\r请检查这个文件夹的权限和磁盘空间，然后重新启动程序。");
}

void makeFolder(const std::string& path, bool ownerOnly)
{
    QDir dir(q(path));
    if (dir.exists()) {
        if (!writable(path)) cannot("不能写入数据文件夹", path);
        return;
    }
    if (!QDir().mkpath(q(path))) cannot("无法建立数据文件夹", path);
    if (ownerOnly)
        QFile::setPermissions(q(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// Written under a temporary name and renamed, so that a start broken off never leaves half a file
// that would then count as the user's own.
void copyShipped(const QFileInfo& from, const std::string& to)
{
    if (from.size() > kMaxShippedFile) return;
    QFile source(from.absoluteFilePath());
    if (!source.open(QIODevice::ReadOnly)) cannot("无法读取安装的设置文件", from.absoluteFilePath().toStdString(), source.errorString());
    const QByteArray bytes = source.readAll();
    QSaveFile target(q(to));
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size() || !target.commit())
        cannot("无法建立设置文件", to, target.errorString());
}

}  // namespace

Environment processEnvironment()
{
    return [](const char* name) {
        const char* value = std::getenv(name);
        return value ? std::string(value) : std::string();
    };
}

ProgramFolders locateProgramFolders(const std::string& programDir, const Environment& env)
{
    const std::string beside = withSlash(programDir);
    const std::string shipped = withSlash(QDir::cleanPath(q(beside + "../share/rsgz")).toStdString());
    const bool templateBeside = isFile(beside + "init/vesk.db");
    const bool templateShipped = isFile(shipped + "init/vesk.db");
    // The program directory as the build lays it out, or any writable one that is no installation.
    if (writable(beside) && (templateBeside || !templateShipped)) return {beside, beside, false};
    return {userDataHome(env) + "rsgz/", templateBeside ? beside : shipped, true};
}

void prepareWorkFolders(const ProgramFolders& folders)
{
    if (!folders.installed) return;
    makeFolder(folders.workDir, true);
    for (const char* sub : kWorkFolders) makeFolder(folders.workDir + sub, false);
    for (const char* sub : kShippedFolders) {
        const QDir from(q(folders.sharedDir + sub));
        for (const QFileInfo& file : from.entryInfoList(QDir::Files | QDir::Readable)) {
            const std::string to = folders.workDir + sub + "/" + file.fileName().toStdString();
            if (!QFileInfo::exists(q(to))) copyShipped(file, to);
        }
    }
}

std::string shownFolder(const std::string& dir)
{
    return dir.size() > 1 && dir.back() == '/' ? dir.substr(0, dir.size() - 1) : dir;
}

}  // namespace rsgz::app
