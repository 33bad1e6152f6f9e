#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/TDM.h"
#include "personnel/EmployeeStore.h"
#include "personnel/windows/Trszlw.h"
#include "personnel/windows/Tunitw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "widgets/Ttishiw2.h"
#include "widgets/WidgetInteraction.h"

namespace {

using namespace rsgz;

class EmployeeWindowTest : public ::testing::Test {
protected:
    EmployeeWindowTest()
    {
        exec("insert into 员工基本情况 (员工编号, 姓名, 性别, 职务, 一级部门, 二级部门, 出生年月, 入职日期) values "
             "('E01', '张三', '男', '科员', '总部', '财务部', '1985-03-02', '2010-07-01'), "
             "('E02', '李四', '女', '科长', '分厂', '生产部', '1979-11-20', '2003-02-15')");
        exec("insert into 部门分类 (一级部门, 二级部门) values ('总部', null), ('总部', '财务部'), ('分厂', '生产部')");
        exec("insert into 调动记录 (调动类型, 调动日期, 调动前一级部门, 调动后一级部门, 调动前职务, 调动后职务, 姓名, 员工编号1) "
             "values ('内部调动', '2015-04-01', '分厂', '总部', '技术员', '科员', '张三', 'E01'), "
             "('晋升', '2019-09-01', '总部', '总部', '科员', '科员', '张三', 'E01')");
        p.logIn("admin");
        dm.rszl.open();
        // A small JPEG as the first employee's photo.
        QImage img(90, 120, QImage::Format_RGB32);
        img.fill(QColor(90, 140, 200));
        QDir().mkpath(QString::fromStdString(p.path("照片")));
        img.save(QString::fromStdString(personnel::employeePhotoPath(dm, "E01")), "JPG");
    }

    void exec(const std::string& sql) { dm.DMADO.exec(sql); }

    // Screenshots for the documentation, when asked for through RSGZ_SCREENSHOTS.
    static void keep(QWidget& w, const char* name)
    {
        const QByteArray dir = qgetenv("RSGZ_SCREENSHOTS");
        if (!dir.isEmpty()) w.grab().save(QString::fromUtf8(dir) + "/" + name);
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};

TEST_F(EmployeeWindowTest, PagesShowTheEmployeeTheListsAndThePhoto)
{
    personnel::Trszlw w(dm);
    w.show();
    QTest::qWaitForWindowExposed(&w);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("员工信息-基本信息"));
    EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("姓名"))->text(), QStringLiteral("张三"));
    EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("年龄"))->isReadOnly(), true);
    EXPECT_FALSE(w.findChild<QLabel*>(QStringLiteral("photo"))->pixmap().isNull());
    keep(w, "employee_page0.png");

    w.pages()->setCurrentIndex(6);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("员工信息-调动记录"));
    EXPECT_EQ(dm.ddjl.recordCount(), 2);
    EXPECT_FALSE(w.findChild<QPushButton*>(QStringLiteral("addButton"))->isEnabled());
    keep(w, "employee_page6_transfers.png");

    // Typing into a field edits the row; 保存 stores it.
    w.pages()->setCurrentIndex(0);
    auto* name = w.findChild<QLineEdit*>(QStringLiteral("姓名"));
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Zhang"));
    w.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
    EXPECT_EQ(dm.rszl.state(), db::DataSet::State::Browse);
    EXPECT_EQ(dm.rszl.asString("姓名"), "Zhang");

    // The next employee: fields follow, the photo goes.
    w.findChild<QToolButton*>(QStringLiteral("后一条记录"))->click();
    EXPECT_EQ(name->text(), QStringLiteral("李四"));
    EXPECT_TRUE(w.findChild<QLabel*>(QStringLiteral("photo"))->pixmap().isNull());
}

TEST_F(EmployeeWindowTest, EvaluationPageHidesNewAndDelete)
{
    personnel::Trszlw w(dm);
    w.show();
    w.pages()->setCurrentIndex(10);
    QWidget* page = w.pages()->widget(10);
    EXPECT_FALSE(page->findChild<QPushButton*>(QStringLiteral("newButton"))->isVisible());
    EXPECT_TRUE(page->findChild<QPushButton*>(QStringLiteral("printButton"))->isVisible());
}

TEST_F(EmployeeWindowTest, EditorShowsAndStoresItsRow)
{
    dm.ddjl.setSql("select * from 调动记录 where 员工编号1 = 'E01'");
    dm.ddjl.setRowNumberField(true);
    dm.ddjl.open();
    dm.CurrentModule = 1;
    personnel::Tunitw w(dm, *app::editorSpec("调动记录"));
    w.show();
    QTest::qWaitForWindowExposed(&w);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("调动记录"));
    EXPECT_TRUE(dm.editorOpen.ddjl);
    EXPECT_EQ(w.findChild<QComboBox*>(QStringLiteral("调动类型"))->currentText(), QStringLiteral("内部调动"));
    EXPECT_FALSE(w.findChild<QToolButton*>(QStringLiteral("第一条记录"))->isEnabled());
    keep(w, "editor_transfer.png");

    w.findChild<QPushButton*>(QStringLiteral("addButton"))->click();
    EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("调动前一级部门"))->text(), QStringLiteral("总部"));
    QTest::keyClicks(w.findChild<QComboBox*>(QStringLiteral("调动类型"))->lineEdit(), QStringLiteral("out"));
    w.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
    EXPECT_EQ(dm.ddjl.recordCount(), 3);
    EXPECT_TRUE(ui.errors.empty());
}

// The date buttons set their field through 取得当前日期, on the employee's pages and in the editors;
// the transfer editor's person buttons fill 经办人 and 批准人 from the employee picker.
TEST_F(EmployeeWindowTest, DateAndPersonButtonsFillTheirFields)
{
    ui.onWindow("取得当前日期", [this] {
        dm.PickedDateText = "2024-05-06";
        dm.DatePicked = true;
    });
    personnel::Trszlw w(dm);
    w.show();
    w.findChild<QToolButton*>(QStringLiteral("dateButton:入职日期"))->click();
    EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("入职日期"))->text(), QStringLiteral("2024-05-06"));
    EXPECT_EQ(dm.rszl.state(), db::DataSet::State::Edit);
    dm.rszl.cancel();

    dm.ddjl.setSql("select * from 调动记录 where 员工编号1 = 'E01'");
    dm.ddjl.open();
    ui.onWindow("选择批准人", [this] {
        dm.s4.close();
        dm.s4.setSql("select * from 员工基本情况 where 员工编号 = 'E02'");
        dm.s4.open();
        dm.PickResult = 1;
    });
    personnel::Tunitw e(dm, *app::editorSpec("调动记录"));
    e.show();
    e.findChild<QToolButton*>(QStringLiteral("dateButton:调动日期"))->click();
    e.findChild<QPushButton*>(QStringLiteral("选择批准人"))->click();
    EXPECT_EQ(e.findChild<QLineEdit*>(QStringLiteral("调动日期"))->text(), QStringLiteral("2024-05-06"));
    EXPECT_EQ(e.findChild<QLineEdit*>(QStringLiteral("批准人"))->text(), QStringLiteral("李四"));
    EXPECT_NE(e.findChild<QPushButton*>(QStringLiteral("选择经办人")), nullptr);
    e.findChild<QPushButton*>(QStringLiteral("saveButton"))->click();
    EXPECT_EQ(p.count("调动记录 where 批准人 = '李四' and 调动日期 = '2024-05-06'"), 1);
}

// Enter in the résumé grid writes the cell and moves to the next column, and stays in the last;
// the transfer grid keeps Enter to itself.
TEST_F(EmployeeWindowTest, EnterMovesAlongTheColumnsOfTheListedGrids)
{
    exec("insert into 个人经历 (学校或者工作单位, 员工编号1) values ('一中', 'E01')");
    personnel::Trszlw w(dm);
    w.show();
    QTest::qWaitForWindowExposed(&w);
    w.pages()->setCurrentIndex(2);
    auto* grid = w.findChild<QTableView*>(QStringLiteral("grjl"));
    const int columns = grid->model()->columnCount();
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(0, 3));  // 学校或者工作单位
    grid->edit(grid->currentIndex());
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("二中"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(grid->currentIndex().column(), 4);
    EXPECT_EQ(dm.grjl.asString("学校或者工作单位"), "二中");
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(grid->currentIndex().column(), 5);
    grid->setCurrentIndex(grid->model()->index(0, columns - 1));
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(grid->currentIndex().column(), columns - 1);

    w.pages()->setCurrentIndex(6);
    auto* transfers = w.findChild<QTableView*>(QStringLiteral("ddjl"));
    transfers->setFocus();
    transfers->setCurrentIndex(transfers->model()->index(0, 1));
    QTest::keyClick(transfers, Qt::Key_Return);
    EXPECT_EQ(transfers->currentIndex().column(), 1);
}

// A mistyped 身份证号 is questioned on 保存, naming what is wrong: 否 keeps the row open for a
// correction, 是 stores it as typed. 张三 is a man born 1985-03-02.
TEST_F(EmployeeWindowTest, MistypedIdNumberIsQuestionedBeforeItIsStored)
{
    widgets::WidgetInteraction widgets;
    app::setInteraction(&widgets);
    personnel::Trszlw w(dm);
    w.show();
    QTest::qWaitForWindowExposed(&w);
    auto* id = w.findChild<QLineEdit*>(QStringLiteral("身份证号"));
    auto* save = w.findChild<QPushButton*>(QStringLiteral("saveButton"));
    auto saveAnswering = [&](const char* button) {
        QString asked;
        QTimer::singleShot(0, [&] {
            if (auto* q = qobject_cast<rsgz::widgets::Ttishiw2*>(QApplication::activeModalWidget())) {
                asked = q->findChild<QLabel*>(QStringLiteral("promptText"))->text();
                QTest::mouseClick(q->findChild<QPushButton*>(QString::fromUtf8(button)), Qt::LeftButton);
            }
        });
        QTest::mouseClick(save, Qt::LeftButton);
        return asked;
    };

    // The check character of 32010619850302001 is 7, not 5.
    QTest::keyClicks(id, QStringLiteral("320106198503020015"));
    EXPECT_TRUE(saveAnswering("noButton").contains(QStringLiteral("身份证号的校验位应为7，现为5")));
    EXPECT_EQ(dm.rszl.state(), db::DataSet::State::Edit);
    EXPECT_EQ(p.count("员工基本情况 where 身份证号 is not null and 身份证号 <> ''"), 0);

    // A sound number of a woman: the sex disagrees, and the user keeps it all the same.
    id->selectAll();
    QTest::keyClicks(id, QStringLiteral("320106198503020025"));
    EXPECT_TRUE(saveAnswering("yesButton").contains(QStringLiteral("身份证号表示性别为女，性别填的是男")));
    EXPECT_EQ(dm.rszl.state(), db::DataSet::State::Browse);
    EXPECT_EQ(p.count("员工基本情况 where 员工编号 = 'E01' and 身份证号 = '320106198503020025'"), 1);

    // Saved again unchanged, it is not asked about a second time.
    w.findChild<QLineEdit*>(QStringLiteral("姓名"))->setFocus();
    QTest::keyClicks(w.findChild<QLineEdit*>(QStringLiteral("姓名")), QStringLiteral("Z"));
    EXPECT_TRUE(saveAnswering("noButton").isEmpty());
    EXPECT_EQ(dm.rszl.asString("姓名"), "张三Z");
    app::setInteraction(&ui);
}

}  // namespace
