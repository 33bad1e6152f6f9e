// The progress window of long work, as the program's own windows show it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

#include "app/Progress.h"
#include "widgets/WidgetInteraction.h"

using namespace rsgz;

namespace {

QProgressDialog* openProgressWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible()) return p;
    return nullptr;
}

}  // namespace

// Whatever asks the user something while work is under way gets the screen to itself: the
// progress window is gone before the notice or question opens, and stays gone.
TEST(ProgressWindow, ClosesBeforeANoticeOrQuestionOpens)
{
    widgets::WidgetInteraction widgets;
    app::setInteraction(&widgets);
    QWidget owner;
    owner.show();
    QApplication::setActiveWindow(&owner);

    for (const bool question : {false, true}) {
        SCOPED_TRACE(question ? "question" : "notice");
        app::Progress progress("工资条分别输出", "正在输出工资条…", 100);
        QTest::qWait(350);  // past the moment a slow job shows its window
        progress.step(88);
        ASSERT_TRUE(openProgressWindow()) << "a long job shows how far it is";

        QString modal;
        bool progressShown = true;
        QTimer::singleShot(0, [&] {
            QWidget* w = QApplication::activeModalWidget();
            modal = w ? w->objectName() : QString();
            progressShown = openProgressWindow() != nullptr;
            if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
        });
        if (question) app::interaction().ask("是否继续？");
        else app::interaction().showMessage("已将 40 张工资条分别输出到文件夹");
        EXPECT_EQ(modal, question ? QStringLiteral("Ttishiw2") : QStringLiteral("Tjdtsw"));
        EXPECT_FALSE(progressShown);
        progress.step(90);
        EXPECT_FALSE(openProgressWindow()) << "a step after the notice opens nothing again";
    }
    app::setInteraction(nullptr);
}
