#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include "Screenshot.h"
#include "SampleData.h"
#include "app/TDM.h"
#include "shell/Tmain.h"
#include "db/Gbk.h"
#include "db/SqlText.h"
#include "personnel/ReminderSettings.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "shell/NavigationBar.h"
#include "shell/ProgramWindows.h"
#include "widgets/WindowRegistry.h"
#include "shell/RemindersView.h"

namespace {

using namespace rsgz;
using personnel::ReminderKind;

QStringList column(QTableView* grid, const QString& title)
{
    QAbstractItemModel* m = grid->model();
    int c = -1;
    for (int i = 0; i < m->columnCount(); ++i)
        if (m->headerData(i, Qt::Horizontal).toString() == title) c = i;
    QStringList out;
    for (int r = 0; c >= 0 && r < m->rowCount(); ++r) out << m->index(r, c).data().toString();
    return out;
}

// Today is 2026-03-15 for the program.
class RemindersWindow : public ::testing::Test {
protected:
    RemindersWindow()
    {
        dm.now = [] { return QDateTime(QDate(2026, 3, 15), QTime(9, 0)); };
        w.resize(1366, 768);
        w.show();
    }

    void add(const char* no, const char* sex, const char* status, const char* contract, const char* birth)
    {
        const auto v = [](const char* s) { return *s ? db::sqlQuote(s) : std::string("null"); };
        dm.DMADO.exec(std::string("insert into 员工基本情况 (员工编号,姓名,性别,在职状况,合同到期,出生年月,岗位工种) values (") +
                      db::sqlQuote(no) + ",'职员" + no + "'," + db::sqlQuote(sex) + "," + db::sqlQuote(status) + "," +
                      v(contract) + "," + v(birth) + ",'车工')");
    }
    void showReminders() { w.navigationBar()->button(QStringLiteral("到期提醒"))->click(); }
    QPushButton* count(ReminderKind kind) { return w.remindersView()->countButton(kind); }
    QTableView* grid() { return w.panel(1)->findChild<QTableView*>(QStringLiteral("moduleGrid")); }

    test::ProgramLayout program{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = program.dm();
    test::ScriptedInteraction user;
    shell::Tmain w{program.frame(), false};
};

TEST_F(RemindersWindow, ACountOpensThePersonnelListNarrowedToThoseEmployees)
{
    add("C1", "男", "在职", "2026-04-10", "");
    add("C2", "女", "在职", "2026-03-20", "");
    add("C3", "男", "在职", "2026-05-01", "");  // beyond 30 days, within 60
    add("C4", "男", "离职", "2026-03-25", "");  // gone
    add("C5", "男", "在职", "2026-03-01", "");  // expired
    // The desktop counts when the program comes to the front, as after the login.
    QApplication::setActiveWindow(&w);
    QElapsedTimer waited;
    waited.start();
    while (count(ReminderKind::ContractDue)->text() != QStringLiteral("2 人") && waited.elapsed() < 2000) QTest::qWait(10);
    EXPECT_EQ(count(ReminderKind::ContractDue)->text(), QStringLiteral("2 人"));
    showReminders();
    EXPECT_EQ(w.workAreaWidget()->objectName(), QStringLiteral("desktopArea"));
    EXPECT_EQ(count(ReminderKind::ContractDue)->text(), QStringLiteral("2 人"));
    EXPECT_EQ(count(ReminderKind::ContractExpired)->text(), QStringLiteral("1 人"));
    EXPECT_FALSE(count(ReminderKind::ProbationDue)->isEnabled());  // nobody: nothing to open

    QTest::mouseClick(count(ReminderKind::ContractDue), Qt::LeftButton);
    ASSERT_EQ(w.workAreaWidget(), w.panel(1));
    EXPECT_EQ(column(grid(), QStringLiteral("员工编号")), (QStringList{"C2", "C1"}));  // by the contract's end
    EXPECT_EQ(w.statusPanel(1)->text(), QStringLiteral("当前数据：  合同30天内到期"));
    EXPECT_EQ(dm.CurrentModule, 1);

    // The page's own tools go on from the narrowed list: the sort keeps the two.
    auto* order = w.panel(1)->findChild<QComboBox*>(QStringLiteral("sortOrder"));
    auto* field = w.panel(1)->findChild<QComboBox*>(QStringLiteral("sortField"));
    field->setCurrentText(QStringLiteral("员工编号"));
    order->setCurrentText(QStringLiteral("降序"));
    emit order->activated(order->currentIndex());
    EXPECT_EQ(column(grid(), QStringLiteral("员工编号")), (QStringList{"C2", "C1"}));
    order->setCurrentText(QStringLiteral("升序"));
    emit order->activated(order->currentIndex());
    EXPECT_EQ(column(grid(), QStringLiteral("员工编号")), (QStringList{"C1", "C2"}));

    // A wider window, typed in and saved, counts C3 too and is kept for the next start.
    showReminders();
    auto* days = w.remindersView()->findChild<QSpinBox*>(QStringLiteral("contractDays"));
    days->selectAll();
    QTest::keyClicks(days, QStringLiteral("60"));
    QTest::mouseClick(w.remindersView()->findChild<QPushButton*>(QStringLiteral("saveSettings")), Qt::LeftButton);
    EXPECT_EQ(count(ReminderKind::ContractDue)->text(), QStringLiteral("3 人"));
    EXPECT_EQ(personnel::ReminderSettings::read(dm.programDir()).contractDays, 60);
    QTest::mouseClick(count(ReminderKind::ContractExpired), Qt::LeftButton);
    EXPECT_EQ(column(grid(), QStringLiteral("员工编号")), (QStringList{"C5"}));
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
}

// The fill button works on the personnel list as it stands: after opening this month's birthdays,
// only those employees get their date.
TEST_F(RemindersWindow, FillingRetirementDatesWorksOnTheListShown)
{
    add("M1", "男", "在职", "", "1966-03-20");  // 60y4m: 2026-07-20, due within six months
    add("M2", "男", "在职", "", "1966-06-01");  // 60y5m: 2026-11-01, not yet
    showReminders();
    EXPECT_EQ(count(ReminderKind::RetirementUnset)->text(), QStringLiteral("2 人"));
    QTest::mouseClick(count(ReminderKind::Birthday), Qt::LeftButton);
    ASSERT_EQ(column(grid(), QStringLiteral("员工编号")), (QStringList{"M1"}));

    showReminders();
    user.answer(true);
    QTest::mouseClick(w.remindersView()->findChild<QPushButton*>(QStringLiteral("fillRetirementDates")), Qt::LeftButton);
    ASSERT_EQ(user.questions.size(), 1u);
    EXPECT_NE(user.questions[0].find("为人事资料列表中的1名在职员工填写退休日期"), std::string::npos) << user.questions[0];
    EXPECT_EQ(program.count("员工基本情况 where 退休日期='2026-07-20'"), 1);
    EXPECT_EQ(program.count("员工基本情况 where 员工编号='M2' and 退休日期 is null"), 1);
    EXPECT_EQ(count(ReminderKind::RetirementDue)->text(), QStringLiteral("1 人"));
    EXPECT_EQ(count(ReminderKind::RetirementUnset)->text(), QStringLiteral("1 人"));
}

// The women's old age: chosen rows set to 55, and the window says what applies where nothing is set.
TEST_F(RemindersWindow, OldAgeOfWomenIsSetInItsWindow)
{
    add("W1", "女", "在职", "", "1980-01-01");
    add("W2", "女", "在职", "", "1981-01-01");
    showReminders();
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* d = QApplication::activeModalWidget();
        ASSERT_NE(d, nullptr);
        seen = true;
        EXPECT_TRUE(d->findChild<QLabel*>(QStringLiteral("ageNote"))->text().contains(
            QStringLiteral("管理岗、专业技术岗为55岁，其他岗位为50岁")));
        auto* women = d->findChild<QTableWidget*>(QStringLiteral("womenGrid"));
        ASSERT_EQ(women->rowCount(), 2);
        EXPECT_EQ(women->item(1, 4)->text(), QStringLiteral("50岁"));
        QTest::mouseClick(women->viewport(), Qt::LeftButton, {}, women->visualItemRect(women->item(1, 0)).center());
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("set55")), Qt::LeftButton);
        EXPECT_EQ(women->item(1, 4)->text(), QStringLiteral("55岁"));
        EXPECT_EQ(women->item(1, 5)->text(), QStringLiteral("已设定"));
        EXPECT_EQ(women->item(0, 4)->text(), QStringLiteral("50岁"));
        test::screenshot(d, "reminders-woman-old-age.png");
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("returnButton")), Qt::LeftButton);
    });
    shell::registerProgramWindows();
    user.onWindow("女职工原退休年龄", [&] { widgets::openRegisteredWindow("女职工原退休年龄", &w); });
    QTest::mouseClick(w.remindersView()->findChild<QPushButton*>(QStringLiteral("womanOldAges")), Qt::LeftButton);
    EXPECT_TRUE(seen);
    EXPECT_EQ(program.count("女职工退休年龄 where 员工编号1='W2' and 原退休年龄=55"), 1);
}

TEST(RemindersScreenshots, DesktopAndNarrowedList)
{
    test::ProgramLayout program{{.liveDatabase = true, .recordRules = true}};
    test::ScriptedInteraction user;
    sample::fillSampleData(program.dm().DMADO, 600, 7);
    shell::Tmain w{program.frame(), false};
    w.resize(1366, 768);
    w.show();
    user.answer(true);
    w.navigationBar()->button(QStringLiteral("到期提醒"))->click();
    QTest::mouseClick(w.remindersView()->findChild<QPushButton*>(QStringLiteral("fillRetirementDates")), Qt::LeftButton);
    EXPECT_TRUE(user.errors.empty());
    test::screenshot(&w, "reminders-desktop.png");
    // The sample's dates follow the machine's clock: the first count that has anybody.
    QPushButton* due = nullptr;
    for (ReminderKind kind : personnel::reminderKinds())
        if (!due && w.remindersView()->countButton(kind)->isEnabled()) due = w.remindersView()->countButton(kind);
    ASSERT_NE(due, nullptr);
    QTest::mouseClick(due, Qt::LeftButton);
    ASSERT_EQ(w.workAreaWidget(), w.panel(1));
    test::screenshot(&w, "reminders-narrowed-list.png");
}

}  // namespace
