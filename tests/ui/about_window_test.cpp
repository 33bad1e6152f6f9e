#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "support/ProgramLayout.h"
#include "shell/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

using namespace rsgz;

// 关于软件 names the folder the data is kept in (here the program directory of the test), so that
// the user of an installed program can find the database and its copies; 关闭 closes it.
TEST(AboutWindow, NamesTheDataFolderAndClosesWithItsButton)
{
    test::ProgramLayout p;
    shell::registerProgramWindows();
    QString folder = QStringLiteral("not shown");
    bool closed = false;
    QTimer::singleShot(0, [&] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w) return;
        EXPECT_EQ(w->windowTitle(), QStringLiteral("关于软件"));
        folder = w->findChild<QLabel*>(QStringLiteral("dataFolder"))->text();
        auto* close = w->findChild<QPushButton*>(QStringLiteral("closeButton"));
        QTest::mouseClick(close, Qt::LeftButton);
        closed = !w->isVisible();
    });
    ASSERT_TRUE(widgets::openRegisteredWindow("关于软件", nullptr));
    const std::string dir = p.dir().substr(0, p.dir().size() - 1);
    EXPECT_EQ(folder, QStringLiteral("数据文件夹：") + QString::fromStdString(dir));
    EXPECT_TRUE(closed);
}
