// The login window against a database server, driven as the operator does.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include "admin/windows/Tkhdlw.h"
#include "app/OperatorRights.h"
#include "support/OfficeFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

using namespace rsgz;

namespace {

class ServerLoginWindow : public test::OfficeTest {
protected:
    void SetUp() override
    {
        OfficeTest::SetUp();
        if (IsSkipped()) return;
        QFile f(QString::fromStdString(p.path("set/database.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(app::serverSettingsText(*office().settings()).c_str());
    }
    void type(admin::Tkhdlw& w, const std::string& name, const std::string& password)
    {
        QLineEdit* nameBox = w.findChild<QComboBox*>("nameBox")->lineEdit();
        QLineEdit* passwordBox = w.findChild<QLineEdit*>("passwordBox");
        nameBox->clear();
        typeText(nameBox, QString::fromStdString(name));
        passwordBox->clear();
        typeText(passwordBox, QString::fromStdString(password));
    }
    // Key by key, Chinese characters included (as an input method hands them over).
    static void typeText(QWidget* box, const QString& text)
    {
        for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    test::ProgramLayout p;
    test::ScriptedInteraction ui;
};

}  // namespace

TEST_F(ServerLoginWindow, TheOperatorTypesNameAndPasswordOfTheServerRole)
{
    admin::Tkhdlw w(p.frame());
    EXPECT_TRUE(w.findChild<QLabel*>("hintLabel")->text().contains(QString::fromStdString(office().database())));
    EXPECT_TRUE(w.findChild<QLineEdit*>("passwordBox")->text().isEmpty());
    w.show();

    type(w, office().firstOperator(), "not-it");
    QTest::mouseClick(w.findChild<QPushButton*>("loginButton"), Qt::LeftButton);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].find("用户登录失败！请重新输入用户名和密码！"), 0u);
    EXPECT_TRUE(w.isVisible());

    type(w, office().firstOperator(), test::TestOffice::kFirstPassword);
    QTimer::singleShot(0, &w, [&] { QTest::mouseClick(w.findChild<QPushButton*>("loginButton"), Qt::LeftButton); });
    EXPECT_EQ(w.exec(), QDialog::Accepted);
    EXPECT_FALSE(p.frame().LoginFailed);
    EXPECT_EQ(p.frame().CurrentOperator, office().firstOperator());
    EXPECT_TRUE(app::hasRight(p.dm(), "权限管理"));
}
