#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "admin/windows/Tmewindow.h"
#include "admin/windows/Tqxglw.h"
#include "app/TDM.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "shell/AdminWindows.h"
#include "widgets/WindowRegistry.h"

namespace {

using namespace rsgz;

class AdminWindowsTest : public ::testing::Test {
protected:
    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
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
    // A new operator starts without the certificate list; a click gives it.
    auto* certificates = w.findChild<QCheckBox*>(QStringLiteral("证照列表"));
    certificates->click();
    EXPECT_TRUE(certificates->isChecked());
    w.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(1)->text(0), QStringLiteral("wangwu"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(AdminWindowsTest, RightsWindowStaysShutWithoutTheRight)
{
    dm.DMADO.exec("insert into 权限 (姓名) values ('李四')");
    p.logIn("李四");
    shell::registerAdminWindows();
    ASSERT_TRUE(widgets::openRegisteredWindow("权限管理", nullptr));
    EXPECT_EQ(ui.messages, std::vector<std::string>{"权限不足!不能进行权限管理!"});
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(ui.errors.empty());
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
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(ui.errors.empty());
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
