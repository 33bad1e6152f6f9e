#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <memory>

#include "SampleData.h"
#include "Screenshot.h"
#include "admin/windows/Tsjqyw.h"
#include "app/Navigation.h"
#include "app/TDM.h"
#include "shell/ProgramWindows.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "widgets/WindowRegistry.h"

namespace {

using namespace rsgz;

class MigrationWindowTest : public ::testing::Test {
protected:
    MigrationWindowTest() { p.logIn("admin"); }

    template <class W>
    W* child(const char* name)
    {
        W* found = w->findChild<W*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* name) { QTest::mouseClick(child<QAbstractButton>(name), Qt::LeftButton); }
    void type(const char* name, const QString& text)
    {
        auto* box = child<QLineEdit>(name);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(box, text);
    }
    void open()
    {
        w = std::make_unique<admin::Tsjqyw>(p.dm());
        w->show();
    }

    test::ProgramLayout p{{.liveDatabase = true}};
    test::ScriptedInteraction user;
    std::unique_ptr<admin::Tsjqyw> w;
};

// The menu 数据管理 opens the window; from a file it offers the way to a server, with the live file
// filled in. The other direction asks for a new file by the save dialog and shows it; a copy
// without a server named is refused before anything is opened, and the grid stays empty.
TEST_F(MigrationWindowTest, DirectionFileAndMissingServer)
{
    shell::registerProgramWindows();
    EXPECT_TRUE(widgets::hasRegisteredWindow(app::WindowId::DatabaseMigration));
    p.frame().navigation().menuEntry("数据库迁移");
    ASSERT_EQ(user.windows.size(), 1u);
    EXPECT_EQ(user.windows[0], "数据库迁移");

    open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("数据库迁移"));
    EXPECT_TRUE(child<QRadioButton>("toServerButton")->isChecked());
    EXPECT_EQ(child<QLineEdit>("fileBox")->text(), QString::fromStdString(p.dm().livePath()));
    EXPECT_EQ(child<QLineEdit>("passwordBox")->echoMode(), QLineEdit::Password);

    click("toFileButton");
    EXPECT_TRUE(child<QLineEdit>("fileBox")->text().isEmpty());
    user.fileNames.push_back(p.path("bak/带走"));
    click("chooseFileButton");
    EXPECT_EQ(child<QLineEdit>("fileBox")->text(), QString::fromStdString(p.path("bak/带走.db")));

    type("hostBox", QString());
    click("startButton");
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0], "请填写数据库服务器的主机、数据库名称和用户名。");
    EXPECT_EQ(child<QTableWidget>("checksGrid")->rowCount(), 0);
}

// Typed into the boxes, the server's settings take the live file to a fresh server database; the
// grid then shows every table with equal counts and checksums on both sides.
TEST_F(MigrationWindowTest, CopyToServerShowsEveryTableAgreeing)
{
    const std::optional<db::ServerTarget> admin = test::testServer();
    if (!admin) GTEST_SKIP() << "no test server: set RSGZ_TEST_PGHOST to run the server half";
    test::TemporaryDatabase target(test::Engine::Server);
    sample::fillSampleData(p.dm().DMADO, 40, 7);

    open();
    type("hostBox", QString::fromStdString(admin->host));
    auto* port = child<QSpinBox>("portBox");
    port->selectAll();
    QTest::keyClicks(port, QString::number(admin->port));
    type("databaseBox", QString::fromStdString(target.serverName()));
    type("userBox", QString::fromStdString(admin->user));
    type("passwordBox", QString::fromStdString(admin->password));
    click("startButton");

    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].rfind("迁移完成：", 0), 0u) << user.messages[0];
    auto* grid = child<QTableWidget>("checksGrid");
    ASSERT_EQ(static_cast<size_t>(grid->rowCount()), p.dm().DMADO.tableNames().size());
    for (int r = 0; r < grid->rowCount(); ++r) {
        EXPECT_EQ(grid->item(r, 5)->text(), QStringLiteral("一致")) << grid->item(r, 0)->text().toStdString();
        EXPECT_EQ(grid->item(r, 1)->text(), grid->item(r, 2)->text());
        EXPECT_EQ(grid->item(r, 3)->text(), grid->item(r, 4)->text());
        if (grid->item(r, 0)->text() == QStringLiteral("员工基本情况")) EXPECT_EQ(grid->item(r, 1)->text(), QStringLiteral("40"));
    }
    EXPECT_TRUE(child<QLabel>("summaryLabel")->text().contains(QStringLiteral("0 个表不一致")));
    test::screenshot(w.get(), "server-migration.png");
}

}  // namespace
