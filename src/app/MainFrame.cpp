#include "app/MainFrame.h"

#include <QDir>

#include "app/Company.h"
#include "app/Interaction.h"
#include "app/LiveDatabase.h"
#include "app/ServerDailyCopy.h"
#include "app/TDM.h"

namespace rsgz::app {

MainFrame::MainFrame(TDM& dm) : dm_(dm), nav_(dm) {}

void MainFrame::create(const std::string& programDir)
{
    ProgramDir = programDir;
    if (!ProgramDir.empty() && ProgramDir.back() != '/') ProgramDir += '/';
    dm_.setProgramDir(ProgramDir);
    // The import sources are other files opened through their own connections.
    dm_.ImportAccessPrefix = "Data Source=";
    dm_.ImportAccessSuffix = ";Access";
    dm_.ImportExcelPrefix = "Data Source=";
    dm_.ImportExcelSuffix = ";Excel";
    dm_.editorOpen = TDM::EditorOpen{};
    LoginFailed = false;
}

bool MainFrame::activate()
{
    if (LoginFailed) return false;
    nav_.OpenImageStart();
    nav_.SetPrintVisible();
    runAction([this] { app::open_gongsi_data(dm_); });
    if (nav_.hooks.readCardParameters) runAction(nav_.hooks.readCardParameters);
    return true;
}

std::string MainFrame::backupPathForToday() const
{
    const QDate today = dm_.now().date();
    return ProgramDir + "bak/" + today.toString(QStringLiteral("yyyyMMdd")).toStdString() + (dm_.DMADO.isServer() ? ".dump" : ".db");
}

std::string MainFrame::damagedBackupPathForToday() const
{
    const QDate today = dm_.now().date();
    return ProgramDir + "bak/" + today.toString(QStringLiteral("yyyyMMdd")).toStdString() + "-损坏.db";
}

void MainFrame::startFileCheck()
{
    damage_.clear();
    if (dm_.DMADO.isServer()) {
        // No file to read: the server checks its pages as it reads them.
        fileCheck_ = FileCheck::NotChecked;
        return;
    }
    fileCheck_ = FileCheck::Running;
    dm_.fileCheck.start(dm_.livePath());
}

MainFrame::FileCheck MainFrame::fileCheck()
{
    if (fileCheck_ != FileCheck::Running) return fileCheck_;
    if (const std::optional<std::string> found = dm_.fileCheck.finished()) {
        damage_ = *found;
        fileCheck_ = damage_.empty() ? FileCheck::Sound : FileCheck::Damaged;
    } else if (!dm_.fileCheck.running()) {
        fileCheck_ = FileCheck::NotChecked;  // broken off before the file was replaced, or unreadable
    }
    return fileCheck_;
}

void MainFrame::BeiFen_data()
{
    QDir::setCurrent(QString::fromStdString(ProgramDir));
    if (dm_.DMADO.isServer()) {
        // The server checks its own pages; the copy is its archive, one a day for all clerks.
        if (const std::string note = takeServerDailyCopy(dm_, backupPathForToday(), dm_.now()); !note.empty())
            dm_.showStatus(note);
        return;
    }
    fileCheck();            // a result that came in since the window last asked
    dm_.fileCheck.stop();   // the check below reads the whole file anyway
    if (!damage_.empty()) {
        keepDamagedCopy(damagedMessage(dm_, "登录后的检查发现数据库文件 " + dm_.livePath() + " 已经损坏，程序现在关闭，不再写入它。",
                                       damage_)
                        + "\r没有用它替换 bak 文件夹中的备份，原有的备份都保持不变。");
        return;
    }
    std::string problems;
    try {
        if (!QFile::exists(QString::fromStdString(dm_.livePath()))) return;
        problems = dm_.DMADO.quickCheck();
        if (problems.empty()) {
            dm_.DMADO.backupTo(backupPathForToday());
            return;
        }
    } catch (const std::exception&) {
        // Nothing is reported at close: the program ends either way.
        return;
    }
    keepDamagedCopy("关闭程序时检查发现数据库已经损坏：\r" + problems
                    + "\r所以没有用它替换 bak 文件夹中的备份，原有的备份都保持不变。\r请用 bak 文件夹中完好的备份恢复数据库。");
}

// A damaged database (a stale log replayed into a restored file, a broken disk) must not take the
// place of the last good copy, which is then the way back. It is kept beside it for whoever wants
// to rescue what it holds.
void MainFrame::keepDamagedCopy(const std::string& told)
{
    std::string keptAs;
    try {
        dm_.DMADO.backupTo(damagedBackupPathForToday());
        keptAs = "\r这次关闭时的数据库另存为 " + damagedBackupPathForToday() + "。";
    } catch (const std::exception&) {
    }
    dm_.ShowMessage_jd(told + keptAs);
}

}  // namespace rsgz::app
