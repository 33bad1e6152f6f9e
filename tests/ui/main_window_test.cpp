#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QStatusBar>
#include <QtTest/QTest>
#include <QTableView>
#include <QToolButton>
#include <gtest/gtest.h>

#include "admin/LoginForm.h"
#include "app/TDM.h"
#include "shell/Tmain.h"
#include "support/BrokenPage.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "shell/NavigationBar.h"

using namespace rsgz;

TEST(MainWindow, ShowsTheGroupsAndTheEmployeeGridOfModuleOne)
{
    test::ProgramLayout p{{.liveDatabase = true}};
    app::TDM& dm = p.dm();
    for (const char* no : {"001", "002", "003"})
        dm.DMADO.exec(std::string("insert into 员工基本情况 (员工编号,姓名) values ('") + no + "','职员" + no + "')");

    shell::Tmain w(p.frame(), false);
    shell::NavigationBar* bar = w.navigationBar();
    ASSERT_EQ(bar->groupCount(), 3);
    EXPECT_EQ(bar->groupTitle(0), QStringLiteral("人事管理"));
    EXPECT_EQ(bar->groupTitle(1), QStringLiteral("工资管理"));
    EXPECT_EQ(bar->groupTitle(2), QStringLiteral("系统管理"));
    EXPECT_EQ(w.workAreaWidget()->objectName(), QStringLiteral("desktopArea"));

    bar->button(QStringLiteral("人员档案管理"))->click();
    ASSERT_EQ(w.workAreaWidget(), w.panel(1));
    auto* grid = w.panel(1)->findChild<QTableView*>(QStringLiteral("moduleGrid"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_TRUE(w.menuAction("打印员工报表")->isVisible());
    EXPECT_FALSE(w.menuAction("打印工资表")->isVisible());

    // The browse buttons show where the list stands; the grid and the list move together,
    // whichever side moves.
    const auto enabled = [&] {
        std::vector<bool> on;
        for (const char* b : {"第一条记录", "前一条记录", "后一条记录", "最后一条记录"})
            on.push_back(w.panel(1)->findChild<QToolButton*>(QString::fromUtf8(b))->isEnabled());
        return on;
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, true, true}));
    w.panel(1)->findChild<QToolButton*>(QStringLiteral("最后一条记录"))->click();
    EXPECT_EQ(grid->currentIndex().row(), 2);
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, false, false}));
    grid->setCurrentIndex(grid->model()->index(1, 0));
    EXPECT_EQ(dm.rszl.asString("员工编号"), "002");
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true, true}));

    bar->setOpenGroup(1);
    EXPECT_EQ(w.workAreaWidget()->objectName(), QStringLiteral("desktopArea"));
}

// The hint panel takes whatever the other five leave, at any window width and with any message:
// the record/total panels stay in sight when the window is made narrower after its activation.
TEST(MainWindow, StatusBarPanelsStayInSightWhenTheWindowNarrows)
{
    test::ProgramLayout p{{.liveDatabase = true}};
    shell::Tmain w(p.frame(), false);
    w.resize(1300, 760);
    w.show();
    QApplication::setActiveWindow(&w);
    QTRY_VERIFY_WITH_TIMEOUT(w.statusPanel(1)->width() > 900, 2000);
    QTest::qWait(50);  // the activation work runs from the event loop

    w.resize(1000, 700);
    w.statusPanel(1)->setText(QString(200, QChar(u'进')));
    QTRY_COMPARE_WITH_TIMEOUT(w.statusBar()->width(), 1000, 2000);
    QApplication::processEvents();
    const int widths[6] = {50, 0, 64, 60, 50, 50};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        if (i != 1) EXPECT_GE(w.statusPanel(i)->width(), widths[i]);
        EXPECT_LE(w.statusPanel(i)->geometry().right(), w.statusBar()->width());
        if (i > 0) EXPECT_LT(w.statusPanel(i - 1)->geometry().right(), w.statusPanel(i)->geometry().left());
    }
}

// The record status is read in full up to 99,999 rows, in the font the window uses, and so is the
// caption of the panel before it.
TEST(MainWindow, StatusPanelsShowRecordNumbersUncut)
{
    test::ProgramLayout p{{.liveDatabase = true}};
    shell::Tmain w(p.frame(), false);
    w.resize(1366, 768);
    w.show();
    QApplication::processEvents();
    const struct {
        int panel;
        const char* text;
    } cases[] = {{2, "记录/总数"}, {3, "2000/2000"}, {3, "19999/20000"}, {3, "99999/99999"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        QLabel* l = w.statusPanel(c.panel);
        l->setText(QString::fromUtf8(c.text));
        EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->contentsRect().width());
        EXPECT_LE(l->sizeHint().width(), l->width());
    }
}

// The picture dialog offers every kind of picture the desktop area can show, not only a few.
TEST(MainWindow, PictureDialogOffersEveryFormatThePictureReaderKnows)
{
    test::ProgramLayout p{{.liveDatabase = true}};
    test::ScriptedInteraction user;
    shell::Tmain w(p.frame(), false);
    w.menuAction("设置桌面背景图片")->trigger();
    ASSERT_EQ(user.fileFilters.size(), 1u);
    const QString filter = QString::fromStdString(user.fileFilters.front());
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    ASSERT_TRUE(formats.contains("gif"));
    for (const QByteArray& format : formats)
        EXPECT_TRUE(filter.contains(QStringLiteral("*.") + QString::fromLatin1(format) + QLatin1Char(' '))
                    || filter.contains(QStringLiteral("*.") + QString::fromLatin1(format) + QLatin1Char(')')))
            << format.constData();
}

// A damaged page the login does not read is found by the check after the login. The main window
// then closes, but never under a window the operator is working in, and says the way back.
TEST(MainWindow, DamageFoundAfterTheLoginClosesTheWindowOnceNoOtherWindowIsOpen)
{
    test::ProgramLayout p;
    p.makeLiveDatabase();
    p.dm().runSql({"insert into 员工基本情况 (员工编号, 姓名) values ('A1', '甲')"});
    p.dm().DMADO.close();
    const std::string live = p.path("data/vesk.db");
    QFile::copy(QString::fromStdString(live), QString::fromStdString(p.path("bak/20080107.db")));
    test::breakTableTree(live, "员工基本情况");
    p.dm().now = [] { return QDateTime(QDate(2008, 1, 8), QTime(17, 0)); };
    test::ScriptedInteraction ui;
    admin::LoginForm login(p.frame());
    login.login();
    ASSERT_FALSE(p.frame().LoginFailed);

    shell::Tmain w(p.frame(), false);
    w.show();
    QDialog editor(&w);
    editor.setWindowModality(Qt::ApplicationModal);
    editor.show();
    QTRY_VERIFY_WITH_TIMEOUT(p.frame().fileCheck() != app::MainFrame::FileCheck::Running, 20000);
    ASSERT_EQ(p.frame().fileCheck(), app::MainFrame::FileCheck::Damaged);
    QTest::qWait(600);
    EXPECT_TRUE(w.isVisible()) << "not closed under the open window";
    EXPECT_TRUE(ui.messages.empty());

    editor.close();
    QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 5000);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("已经损坏"), std::string::npos) << ui.messages[0];
    EXPECT_NE(ui.messages[0].find(p.path("bak/20080107.db")), std::string::npos) << ui.messages[0];
    EXPECT_TRUE(QFile::exists(QString::fromStdString(p.path("bak/20080108-损坏.db"))));
}
