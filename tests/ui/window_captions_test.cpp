#include <gtest/gtest.h>

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTimer>

#include <set>

#include "app/MainMenu.h"
#include "app/Navigation.h"
#include "app/NavigationGroups.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "shell/ProgramWindows.h"
#include "widgets/Tjdtsw.h"
#include "widgets/WidgetInteraction.h"
#include "widgets/WindowRegistry.h"

using namespace rsgz;

namespace {

// Captions written into the sources: openWindow("…") and the rules' openEditor(flag, "…").
std::set<std::string> captionsInSources()
{
    static const QRegularExpression call(QStringLiteral(R"re((?:openWindow\(|openEditor\([^;"]*,)\s*"([^"]+)"\s*\))re"));
    std::set<std::string> captions;
    QDirIterator files(QStringLiteral(RSGZ_SOURCE_DIR "/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                       QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile f(files.next());
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = call.globalMatch(text); m.hasNext();) captions.insert(m.next().captured(1).toStdString());
    }
    return captions;
}

// Captions the navigation tables open: every system button and every menu entry in every module,
// and each module's record window, combined query and tree menu.
std::set<std::string> captionsOfTheNavigation()
{
    test::ProgramLayout program{{.liveDatabase = true}};
    app::Navigation& nav = program.frame().navigation();
    test::ScriptedInteraction user;
    for (const app::NavigationGroup& g : app::navigationGroups())
        for (const app::NavigationButton& b : g.buttons)
            if (b.module == 0) nav.button(b.text);
    for (int module = 0; module <= 13; ++module) {
        program.dm().CurrentModule = module;
        for (const app::Menu& m : app::mainMenus())
            for (const app::MenuEntry& e : m.entries) nav.menuEntry(e.text);
        nav.openRecordWindow(module);
        nav.openQueryWindow(module);
        nav.treeMenu(module, "定义查询列表");
    }
    return {user.windows.begin(), user.windows.end()};
}

}  // namespace

// Every caption the program opens has a window, or is on the one list of windows still to come;
// and that list holds only captions that are opened and not built yet.
TEST(WindowCaptions, EveryOpenedCaptionIsRegisteredOrStillToCome)
{
    shell::registerProgramWindows();
    std::set<std::string> opened = captionsInSources();
    opened.merge(captionsOfTheNavigation());
    ASSERT_TRUE(opened.count("员工信息") && opened.count("关于软件"));

    for (const std::string& caption : opened)
        EXPECT_TRUE(widgets::hasRegisteredWindow(caption))
            << "nothing opens \"" << caption << "\": register its window or list it among the windows to come";
    for (const app::WindowId id : app::allWindowIds()) {
        EXPECT_EQ(widgets::registrationCount(id), 1) << app::windowCaption(id);
        EXPECT_EQ(app::windowIdOf(app::windowCaption(id)), id) << app::windowCaption(id);
    }
}

// A caption without a window is logged and the user is told, instead of nothing happening.
TEST(WindowCaptions, UnregisteredCaptionIsLoggedAndToldToTheUser)
{
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& m) {
        if (type == QtWarningMsg) warnings << m;
    });
    widgets::WidgetInteraction user;
    std::vector<std::string> captions = {"没有这个窗口"};
    for (const std::string& caption : captions) {
        SCOPED_TRACE(caption);
        warnings.clear();
        QString told;
        QTimer::singleShot(0, [&] {
            if (auto* notice = qobject_cast<widgets::Tjdtsw*>(QApplication::activeModalWidget())) {
                told = notice->text();
                notice->close();
            }
        });
        user.openWindow(caption);
        ASSERT_EQ(warnings.size(), 1);
        EXPECT_TRUE(warnings[0].contains(QString::fromStdString(caption))) << warnings[0].toStdString();
        EXPECT_TRUE(told.contains(QString::fromStdString(caption))) << told.toStdString();
    }
    qInstallMessageHandler(previous);
}
