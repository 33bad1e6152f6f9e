#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QtTest/QTest>

#include "admin/NameHistory.h"
#include "admin/windows/Tkhdlw.h"
#include "app/Product.h"
#include "shell/Tmain.h"
#include "support/ProgramLayout.h"
#include "widgets/Tjdtsw.h"
#include "widgets/Ttishiw2.h"
#include "widgets/WidgetInteraction.h"

using namespace rsgz;

TEST(NoticeWindows, CaptionsRedTextAndAnswers)
{
    widgets::Tjdtsw notice(QStringLiteral("第一行\r第二行"));
    EXPECT_EQ(notice.windowTitle(), QStringLiteral("软件提示"));
    EXPECT_EQ(notice.text(), QStringLiteral("第一行\n第二行"));
    EXPECT_TRUE(notice.findChild<QLabel*>("promptText")->styleSheet().contains("#c00000"));
    EXPECT_EQ(notice.findChild<QPushButton*>("okButton")->text(), QStringLiteral("确定"));

    struct Case { const char* button; bool yes; } cases[] = {{"yesButton", true}, {"noButton", false}, {nullptr, false}};
    for (const Case& c : cases) {
        widgets::Ttishiw2 q(QStringLiteral("删除当前员工数据吗?"));
        EXPECT_EQ(q.windowTitle(), QStringLiteral("提示窗口"));
        QTimer::singleShot(0, &q, [&] {
            if (c.button) q.findChild<QPushButton*>(c.button)->click();
            else q.close();  // the close box counts as 否
        });
        q.exec();
        EXPECT_EQ(q.answeredYes(), c.yes) << (c.button ? c.button : "close box");
    }
}

TEST(LoginWindow, CaptionPresetsAndTheDefaultOperatorHint)
{
    test::ProgramLayout p;
    admin::Tkhdlw w(p.frame());
    EXPECT_EQ(w.windowTitle(), QString::fromUtf8(app::kProductTitle) + QStringLiteral("登录窗口"));
    EXPECT_EQ(w.findChild<QComboBox*>("nameBox")->currentText(), QString::fromUtf8(app::kDefaultOperator));
    QLineEdit* password = w.findChild<QLineEdit*>("passwordBox");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password), '*');
    EXPECT_TRUE(w.findChild<QLabel*>("hintLabel")->text().contains(QString::fromUtf8(app::kDefaultPassword)));
    EXPECT_TRUE(p.frame().LoginFailed);
    {
        // Shown over the main window, whose style sheet it inherits, it still masks with "*".
        shell::Tmain main(p.frame(), /*login=*/false);
        admin::Tkhdlw over(p.frame(), &main);
        QLineEdit* box = over.findChild<QLineEdit*>("passwordBox");
        EXPECT_EQ(box->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, box), '*');
    }

    QTimer::singleShot(0, &w, [&] { w.findChild<QPushButton*>("loginButton")->click(); });
    EXPECT_EQ(w.exec(), QDialog::Accepted);
    EXPECT_FALSE(p.frame().LoginFailed);
}

TEST(MainWindow, FailedLoginClosesItWithoutACopyAndClosingAfterLoginCopies)
{
    test::ProgramLayout p;
    p.makeLiveDatabase();
    const QDir bak(QString::fromStdString(p.path("bak")));
    {
        p.frame().LoginFailed = true;
        shell::Tmain w(p.frame(), /*login=*/false);
        w.show();
        QApplication::setActiveWindow(&w);
        QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 2000);
        EXPECT_TRUE(bak.entryList(QDir::Files).isEmpty());
    }
    p.frame().LoginFailed = false;
    shell::Tmain w(p.frame(), /*login=*/false);
    w.show();
    w.close();
    EXPECT_EQ(bak.entryList(QDir::Files).size(), 1);
}

// Choosing another name from the history, or typing one, empties the password box; the window's
// own change of a name's letter case does not.
TEST(LoginWindow, AnotherNameEmptiesThePasswordBox)
{
    test::ProgramLayout p;
    admin::NameHistory::load(p.path("YongHuNameList.Cfg")).record("张三");
    admin::NameHistory::load(p.path("YongHuNameList.Cfg")).record(app::kDefaultOperator);
    admin::Tkhdlw w(p.frame());
    auto* name = w.findChild<QComboBox*>("nameBox");
    QLineEdit* password = w.findChild<QLineEdit*>("passwordBox");
    ASSERT_EQ(name->currentText(), QString::fromUtf8(app::kDefaultOperator));
    ASSERT_EQ(password->text(), QString::fromUtf8(app::kDefaultPassword));

    name->setFocus();
    QTest::keyClick(name, Qt::Key_Down);
    ASSERT_EQ(name->currentText(), QStringLiteral("张三"));
    EXPECT_EQ(password->text(), QString());

    password->setText(QStringLiteral("secret"));
    QTest::keyClicks(name->lineEdit(), QStringLiteral("x"));
    EXPECT_EQ(password->text(), QString());
}
