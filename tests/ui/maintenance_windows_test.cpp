#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "admin/windows/Ttestmima.h"
#include "app/TDM.h"
#include "support/ProgramLayout.h"
#include "shell/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

namespace {

using namespace rsgz;

// The confirmation before the initialization starts empty whatever was typed before; 确定 hands
// over the text, 取消 nothing.
TEST(PasswordConfirmation, StartsEmptyAndHandsOverOnlyWhatIsConfirmed)
{
    test::ProgramLayout p;
    shell::registerProgramWindows();
    struct Case {
        const char* button;
        std::string expected;
    };
    for (const Case& c : {Case{"okButton", "秘密1"}, Case{"cancelButton", ""}}) {
        p.dm().ConfirmPassword = "admin";
        QString shown = QStringLiteral("not shown");
        QTimer::singleShot(0, [&] {
            auto* w = qobject_cast<admin::Ttestmima*>(QApplication::activeModalWidget());
            if (!w) return;
            auto* box = w->findChild<QLineEdit*>(QStringLiteral("passwordBox"));
            shown = box->text();
            EXPECT_EQ(box->echoMode(), QLineEdit::Password);
            box->setText(QStringLiteral("秘密1"));
            w->findChild<QPushButton*>(QLatin1String(c.button))->click();
        });
        ASSERT_TRUE(widgets::openRegisteredWindow("初始化将删除所有数据", nullptr));
        EXPECT_EQ(shown, QString());
        EXPECT_EQ(p.dm().ConfirmPassword, c.expected);
    }
}

}  // namespace
