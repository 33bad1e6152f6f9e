#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "support/TempDir.h"
#include "admin/Rights.h"
#include "admin/Tmewindow.h"
#include "admin/Tqxglw.h"
#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/SqlText.h"
#include "ui/AdminWindows.h"
#include "ui/WindowRegistry.h"

namespace {

using namespace rsgz;

class Notices : public app::Interaction {
public:
    std::vector<std::string> shown;
    void showMessage(const std::string& t) override { shown.push_back(t); }
    bool ask(const std::string& t) override
    {
        shown.push_back(t);
        return false;
    }
    void showError(const std::string& t) override { shown.push_back(t); }
    std::string openFileName(const std::string&, const std::string&) override { return {}; }
    std::string saveFileName(const std::string&, const std::string&) override { return {}; }
    void openWindow(const std::string&) override {}
    void openUrl(const std::string&) override {}
};

class AdminWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir().mkpath(QString::fromStdString(dir.file("data")));
        app::createTemplateDatabase(dir.file("data/vesk.db"));
        dm.setProgramDir(dir.path());
        app::setDM(&dm);
        app::setInteraction(&notices);
    }
    void TearDown() override
    {
        app::setInteraction(nullptr);
        app::setDM(nullptr);
    }
    void logIn(const std::string& name)
    {
        dm.zh.setSql({"Select * from 权限", "where 姓名 =" + db::sqlQuote(name)});
        dm.zh.open();
    }

    test::TempDir dir;
    app::TDM dm;
    Notices notices;
};

TEST_F(AdminWindowsTest, RightsWindowShowsOperatorsAndWritesBoxes)
{
    admin::Tqxglw w(dm);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("权限管理"));
    auto* tree = w.findChild<QTreeWidget*>(QStringLiteral("operatorTree"));
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("admin"));
    EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("nameEdit"))->text(), QStringLiteral("admin"));
    auto* password = w.findChild<QLineEdit*>(QStringLiteral("passwordEdit"));
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(password->text().isEmpty());

    auto* tabs = w.findChild<QTabWidget*>(QStringLiteral("rightsTabs"));
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("系统管理"));
    EXPECT_EQ(w.findChildren<QCheckBox*>().size(), 24);

    w.findChild<QPushButton*>(QStringLiteral("addButton"))->click();
    QTest::keyClicks(w.findChild<QLineEdit*>(QStringLiteral("nameEdit")), QStringLiteral("wangwu"));
    auto* backup = w.findChild<QCheckBox*>(QStringLiteral("数据备份"));
    backup->click();
    EXPECT_TRUE(backup->isChecked());
    w.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(1)->text(0), QStringLiteral("wangwu"));
    EXPECT_TRUE(notices.shown.empty());
}

TEST_F(AdminWindowsTest, RightsWindowStaysShutWithoutTheRight)
{
    dm.DMADO.exec("insert into 权限 (姓名) values ('李四')");
    logIn("李四");
    admin::registerAdminWindows();
    ASSERT_TRUE(ui::openRegisteredWindow("权限管理", nullptr));
    EXPECT_EQ(notices.shown, std::vector<std::string>{"权限不足!不能进行权限管理!"});
    for (QWidget* top : QApplication::topLevelWidgets()) EXPECT_NE(top->objectName(), QStringLiteral("Tqxglw"));
}

TEST_F(AdminWindowsTest, CompanyWindowEditsTheFirstRow)
{
    admin::Tmewindow w(dm);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("公司情况"));
    auto* first = w.findChild<QLineEdit*>(QStringLiteral("field1"));
    auto* last = w.findChild<QLineEdit*>(QStringLiteral("field12"));
    EXPECT_EQ(first->maxLength(), 150);
    EXPECT_EQ(last->maxLength(), 30);

    QTest::keyClicks(first, QStringLiteral("Hongda Machinery"));
    w.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
    admin::Tmewindow again(dm);
    EXPECT_EQ(again.findChild<QLineEdit*>(QStringLiteral("field1"))->text(), QStringLiteral("Hongda Machinery"));
    EXPECT_TRUE(notices.shown.empty());
}

TEST_F(AdminWindowsTest, EnterWalksTheCompanyFields)
{
    admin::Tmewindow w(dm);
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto* first = w.findChild<QLineEdit*>(QStringLiteral("field1"));
    auto* second = w.findChild<QLineEdit*>(QStringLiteral("field2"));
    auto* last = w.findChild<QLineEdit*>(QStringLiteral("field12"));
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_TRUE(second->hasFocus());
    last->setFocus();
    QTest::keyClick(last, Qt::Key_Return);
    EXPECT_TRUE(last->hasFocus());
    EXPECT_TRUE(w.isVisible());  // Enter presses no button
}

}  // namespace
