#include <termios.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QIcon>
#include <QTimer>
#include <iostream>
#include <optional>
#include <string_view>

#include "admin/OfficeSetup.h"
#include "admin/ScriptedLogin.h"
#include "app/IdleCheckpoint.h"
#include "app/MainFrame.h"
#include "app/ProgramFolders.h"
#include "app/StreamInteraction.h"
#include "app/TDM.h"
#include "shell/Tmain.h"
#include "app/rules/RecordRules.h"
#include "payroll/PayrollRules.h"
#include "personnel/PersonnelRules.h"
#include "print/CardPrinting.h"
#include "shell/ChineseTranslations.h"
#include "widgets/EnterOnButtons.h"
#include "shell/ProgramWindows.h"
#include "widgets/WidgetInteraction.h"

namespace {

void setUpLook(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("rsgz"));
    QApplication::setDesktopFileName(QStringLiteral("rsgz"));
    rsgz::shell::installChineseTranslations(app);
    rsgz::widgets::installEnterPressesButtons(app);
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"), font.family()});
    QApplication::setFont(font);
    // Small tool icons come from the desktop's icon theme where it has them.
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("rsgz")));
}

// The working folders: beside the program, or the user's own for an installed program, made at
// the first start. False (the user told why) when they cannot be made.
bool findFolders(rsgz::app::TDM& dm, rsgz::app::MainFrame& frame)
{
    using namespace rsgz::app;
    const ProgramFolders folders =
        locateProgramFolders(QDir(QApplication::applicationDirPath()).absolutePath().toStdString(), processEnvironment());
    try {
        prepareWorkFolders(folders);
    } catch (const std::exception& e) {
        interaction().showMessage(e.what());
        return false;
    }
    frame.create(folders.workDir);
    dm.setTemplatePath(folders.templatePath());
    return true;
}

// rsgz --login-from-stdin: logs in with the name and password read from the standard input, shows
// the main window and closes it at once, as the operator would; the close-time copy is taken.
// Notices go to the standard error. Exits 1 when the login fails.
int scriptedRun(QApplication& app, rsgz::app::MainFrame& frame)
{
    if (!rsgz::admin::scriptedLogin(frame, std::cin)) return 1;
    rsgz::shell::Tmain w(frame, false);
    w.show();
    QTimer::singleShot(0, &w, &QWidget::close);
    return app.exec();
}

// One answer from the terminal; a secret one is not shown as it is typed.
std::optional<std::string> askOnTerminal(const std::string& prompt, bool secret)
{
    std::cout << prompt << std::flush;
    termios old{};
    const bool quiet = secret && ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &old) == 0;
    if (quiet) {
        termios noEcho = old;
        noEcho.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &noEcho);
    }
    std::string line;
    const bool got = static_cast<bool>(std::getline(std::cin, line));
    if (quiet) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &old);
        std::cout << "\n";
    }
    if (!got) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// rsgz --create-office and rsgz --upgrade-office: an office database on a server made or brought
// up to date, asked for on the terminal; no window.
using OfficeCommand = int (*)(const std::string&, const rsgz::admin::AskLine&, std::ostream&);
int officeCommand(int argc, char** argv, OfficeCommand command)
{
    QCoreApplication app(argc, argv);
    using namespace rsgz::app;
    const ProgramFolders folders =
        locateProgramFolders(QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString(), processEnvironment());
    try {
        prepareWorkFolders(folders);
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return command(folders.workDir, askOnTerminal, std::cout);
}

// The record rules of every module, added in module order, bound before anyone logs in.
void bindRecordRules(rsgz::app::TDM& dm)
{
    rsgz::app::RecordRuleRegistry rules;
    rsgz::personnel::addRecordRules(rules);
    rsgz::payroll::addRecordRules(rules);
    rules.bind(dm);
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--create-office")
            return officeCommand(argc, argv, rsgz::admin::createOfficeInteractively);
        if (std::string_view(argv[i]) == "--upgrade-office")
            return officeCommand(argc, argv, rsgz::admin::upgradeOfficeInteractively);
    }
    rsgz::shell::preferChineseDates();
    QApplication app(argc, argv);
    setUpLook(app);
    const bool scripted = QApplication::arguments().contains(QStringLiteral("--login-from-stdin"));

    rsgz::widgets::WidgetInteraction windows;
    rsgz::app::StreamInteraction lines(std::cerr);
    rsgz::app::setInteraction(scripted ? static_cast<rsgz::app::Interaction*>(&lines) : &windows);

    // The data module first, without a connection; then the main window, whose creation logs in.
    rsgz::app::TDM dm;
    rsgz::app::setDM(&dm);
    rsgz::app::IdleCheckpoint idleCheckpoint(dm.DMADO);
    bindRecordRules(dm);
    rsgz::app::MainFrame frame(dm);
    if (!findFolders(dm, frame)) return 1;
    frame.navigation().hooks.readCardParameters = [&dm] { rsgz::print::readCardDefinition(dm); };
    rsgz::shell::registerProgramWindows();
    int rc = 0;
    if (scripted) {
        rc = scriptedRun(app, frame);
    } else {
        rsgz::shell::Tmain w(frame);
        // A failed or abandoned login ends the program here, without the close-time copy.
        if (frame.LoginFailed) return 0;
        w.showMaximized();
        rc = app.exec();
    }
    rsgz::app::setInteraction(nullptr);
    return rc;
}
