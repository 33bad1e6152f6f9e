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

void MainFrame::BeiFen_data()
{
    QDir::setCurrent(QString::fromStdString(ProgramDir));
    try {
        if (!QFile::exists(QString::fromStdString(dm_.livePath()))) return;
        dm_.DMADO.backupTo(backupPathForToday());
    } catch (const std::exception&) {
        // Nothing is reported at close: the program ends either way.
    }
}

}  // namespace rsgz::app
