// Two clerks' windows on one database, each program on a connection of its own: a window active
// again shows the other clerk's rows, and the second save of the same employee is refused.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "app/TDM.h"
#include "db/DataSet.h"
#include "personnel/windows/Trszlw.h"
#include "shell/ChineseTranslations.h"
#include "support/EngineFixture.h"
#include "support/ServerClerks.h"
#include "widgets/ActivationReread.h"
#include "widgets/DataSetGrid.h"
#include "widgets/WidgetInteraction.h"

namespace {

using namespace rsgz;
using test::BothEngines;

void activate(QWidget& w)
{
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QApplication::processEvents();  // the re-read waits for the loop to be idle
}

void insertEmployees(db::Connection& conn)
{
    conn.exec("insert into 员工基本情况 (员工编号, 姓名, 性别) values ('E01', '张三', '男'), ('E02', '李四', '女'), "
              "('E03', '王五', '男')");
}

class ListWindows : public BothEngines {};

TEST_P(ListWindows, WindowActiveAgainShowsTheOtherClerksRowsOnAServer)
{
    database().createSchema();
    insertEmployees(conn());
    auto secondConn = database().connectAgain();
    db::DataSet mine(&conn(), "rszl"), theirs(secondConn.get(), "rszl");
    for (db::DataSet* ds : {&mine, &theirs}) {
        ds->setSql("select * from 员工基本情况 order by 员工编号");
        ds->open();
    }
    widgets::rereadListsOnActivation();
    QDialog list;
    auto* grid = new widgets::DataSetGrid(&mine, false, &list);
    (new QVBoxLayout(&list))->addWidget(grid);
    QDialog elsewhere;
    list.show();
    elsewhere.show();
    activate(list);
    mine.next();  // on E02

    theirs.append();
    theirs.setValue("员工编号", db::Value("E00"));
    theirs.setValue("姓名", db::Value("赵六"));
    theirs.post();
    activate(elsewhere);
    activate(list);

    const bool server = conn().isServer();
    EXPECT_EQ(grid->model()->rowCount(), server ? 4 : 3) << "a file is written by this program alone: not read again";
    EXPECT_EQ(mine.asString("员工编号"), "E02");
    EXPECT_EQ(grid->currentIndex().row(), mine.currentRow());
}

RSGZ_ON_BOTH_ENGINES(ListWindows);

// --- two employee windows ----------------------------------------------------------------------------

// A clerk retyping a name: Chinese arrives from the input method as committed text.
void typeName(QLineEdit* box, const QString& text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QInputMethodEvent typed;
    typed.setCommitString(text);
    QApplication::sendEvent(box, &typed);
}

TEST(TwoEmployeeWindows, SecondClerksSaveIsRefusedWithTheTypedNameKept)
{
    if (!test::testServer()) GTEST_SKIP() << "no test server: set RSGZ_TEST_PGHOST";
    test::SharedServerDatabase shared;
    insertEmployees(shared.conn());
    test::ServerClerk zhang(shared, "张三"), li(shared, "李四");
    zhang.dm.rszl.open();
    li.dm.rszl.open();
    widgets::WidgetInteraction boxes;
    app::setInteraction(&boxes);
    // The standard buttons of the boxes in Chinese, as the program shows them.
    std::unique_ptr<QObject> chinese(shell::installChineseTranslations(*qApp));

    // Every box that comes up is read and closed, as the clerk would; with RSGZ_SCREENSHOT_DIR
    // the screen is shot once the box has been painted.
    QStringList boxesSeen;
    bool openWhileShown = false;  // the second clerk's transaction still open while the box is up
    bool shoot = false;
    QTimer closer;
    closer.setInterval(150);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (!box->property("seen").toBool()) {
            box->setProperty("seen", true);  // painted by the next tick
            return;
        }
        boxesSeen << box->text();
        openWhileShown = openWhileShown || li.dm.DMADO.inTransaction();
        const QString dir = qEnvironmentVariable("RSGZ_SCREENSHOT_DIR");
        if (shoot && !dir.isEmpty()) QGuiApplication::primaryScreen()->grabWindow(0).save(dir + "/server-two-clerks-windows.png");
        box->accept();
    });
    closer.start();

    personnel::Trszlw first(zhang.dm), second(li.dm);
    first.show();
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    // Side by side, as two clerks' screens would be shown next to each other.
    first.move(0, 0);
    second.move(first.frameGeometry().right() + 8, 0);
    auto name = [](QDialog& w) { return w.findChild<QLineEdit*>(QStringLiteral("姓名")); };
    auto save = [](QDialog& w) { return w.findChild<QPushButton*>(QStringLiteral("saveButton")); };
    ASSERT_EQ(name(second)->text(), QStringLiteral("张三"));

    // The second clerk starts typing; the first renames the same employee and saves.
    typeName(name(second), QStringLiteral("张三峰"));
    typeName(name(first), QStringLiteral("张三丰"));
    QTest::mouseClick(save(first), Qt::LeftButton);
    EXPECT_TRUE(boxesSeen.isEmpty()) << boxesSeen.join("\n").toStdString();

    // The second save: the error box says why.
    shoot = true;
    QTest::mouseClick(save(second), Qt::LeftButton);
    QApplication::processEvents();
    closer.stop();
    app::setInteraction(nullptr);

    ASSERT_EQ(boxesSeen.size(), 1);
    const QString refusal = boxesSeen[0];
    EXPECT_TRUE(refusal.contains(QStringLiteral("这条记录在读出后已被别处修改，为免覆盖那些修改，本次修改没有保存。"))) << refusal.toStdString();
    EXPECT_EQ(name(second)->text(), QStringLiteral("张三峰"));
    EXPECT_TRUE(li.dm.rszl.isEditing());
    EXPECT_EQ(li.dm.rszl.asString("姓名"), "张三峰");
    // Nothing of the refused save is left open on the second clerk's session, not even while the
    // clerk reads the box: an open transaction would hold the row's locks for as long.
    EXPECT_FALSE(openWhileShown);
    EXPECT_FALSE(li.dm.DMADO.inTransaction());
    db::Statement st = shared.conn().prepareNative("select 姓名 from 员工基本情况 where 员工编号 = 'E01'");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(st.textOrEmpty(0), "张三丰");
}

}  // namespace
