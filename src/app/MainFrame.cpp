#include "app/MainFrame.h"

#include <QDir>

#include "admin/Company.h"
#include "app/Interaction.h"
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
    runAction([this] { admin::open_gongsi_data(dm_); });
    if (nav_.hooks.readCardParameters) runAction(nav_.hooks.readCardParameters);
    return true;
}

std::string MainFrame::backupPathForToday() const
{
    const QDate today = dm_.now().date();
    return ProgramDir + "bak/" + today.toString(QStringLiteral("yyyyMMdd")).toStdString() + ".db";
}

std::string MainFrame::damagedBackupPathForToday() const
{
    const std::string good = backupPathForToday();
    return good.substr(0, good.size() - 3) + "-损坏.db";
}

void MainFrame::BeiFen_data()
{
    QDir::setCurrent(QString::fromStdString(ProgramDir));
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
    // A damaged database (a stale log replayed into a restored file, a broken disk) must not take
    // the place of the last good copy, which is then the way back.
    std::string keptAs;
    try {
        dm_.DMADO.backupTo(damagedBackupPathForToday());
        keptAs = "这次关闭时的数据库另存为 " + damagedBackupPathForToday() + "。";
    } catch (const std::exception&) {
    }
    dm_.ShowMessage_jd("关闭程序时检查发现数据库已经损坏：\r" + problems
                       + "\r所以没有用它替换 bak 文件夹中的备份，原有的备份都保持不变。" + keptAs
                       + "\r请用 bak 文件夹中完好的备份恢复数据库。");
}

}  // namespace rsgz::app
