// The record windows driven as a clerk drives them: mouse clicks on the grids' rows, keys typed
// into the boxes, Enter on buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "admin/windows/Tkhdlw.h"
#include "app/TDM.h"
#include "shell/Tmain.h"
#include "app/ModuleInfo.h"
#include "personnel/PersonRecordEditor.h"
#include "personnel/windows/Tddglw.h"
#include "personnel/windows/Tpersonrecw.h"
#include "personnel/windows/Tpxglw.h"
#include "personnel/windows/Trszlw.h"
#include "personnel/windows/Tunitw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "widgets/DataSetGrid.h"
#include "widgets/DataSetModel.h"
#include "widgets/EnterOnButtons.h"
#include "shell/NavigationBar.h"
#include "shell/ProgramWindows.h"
#include "ui/Screenshot.h"
#include "widgets/WindowRegistry.h"

namespace {

using namespace rsgz;

class RecordWindowsByHand : public ::testing::Test {
protected:
    RecordWindowsByHand()
    {
        exec("insert into 员工基本情况 (员工编号, 姓名, 性别, 职务, 一级部门, 出生年月, 入职日期, EMAIL, 家庭住址) values "
             "('E01', '吴颖', '女', '科员', '总部', '1985-03-02', '2010-07-01', null, null), "
             "('E02', '李四', '男', '科长', '分厂', '1979-11-20', '2003-02-15', null, null), "
             "('E03', '范红', '女', '会计', '总部', '1990-06-12', '2015-10-20', 'fanhong.finance@example.com.cn', "
             "'北京市海淀区中关村南大街二十七号院三号楼五单元六零二室'), "
             "('E04', '王芳', '女', '出纳', '总部', '1992-01-05', '2018-04-01', null, null)");
        exec("insert into 部门分类 (一级部门) values ('总部'), ('分厂')");
        p.logIn("admin");
    }

    void exec(const std::string& sql) { dm.DMADO.exec(sql); }

    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    template <class W>
    static W* child(QWidget& parent, const char* name)
    {
        W* w = parent.findChild<W*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};

// A double-click on the third row of module 1, or Enter on a row, opens 员工信息 on that employee,
// also when the focus goes to the window's name list; a click on a name there shows that employee;
// after 返回 the module list is on the row the window was left on.
TEST_F(RecordWindowsByHand, ModuleListOpensTheEmployeeWindowOnTheChosenRow)
{
    shell::Tmain main(p.frame(), false);
    main.resize(1366, 768);
    main.show();
    main.navigationBar()->button(QStringLiteral("人员档案管理"))->click();
    auto* grid = main.panel(1)->findChild<QTableView*>(QStringLiteral("moduleGrid"));
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->model()->rowCount(), 4);

    std::vector<QString> shown;
    ui.onWindow("员工信息", [&] {
        personnel::Trszlw w(dm, &main);
        QTimer::singleShot(0, &w, [&] {
            QApplication::setActiveWindow(&w);
            auto* names = child<QTableView>(w, "nameList");
            names->setFocus(Qt::TabFocusReason);
            shown.push_back(child<QLineEdit>(w, "姓名")->text());
            if (shown.size() == 1) test::screenshot(&w, "employee-opened-third-row.png");
            if (shown.size() == 2) {
                QTest::mouseClick(names->viewport(), Qt::LeftButton, {}, names->visualRect(names->model()->index(1, 0)).center());
                shown.push_back(child<QLineEdit>(w, "姓名")->text());
            }
            click(child<QPushButton>(w, "returnButton"));
        });
        w.exec();
    });

    const QRect third = grid->visualRect(grid->model()->index(2, 2));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, third.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, third.center());
    ASSERT_EQ(shown, std::vector<QString>{QStringLiteral("范红")});
    EXPECT_EQ(grid->currentIndex().row(), 2);
    EXPECT_EQ(dm.rszl.asString("员工编号"), "E03");

    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QTest::keyClick(grid, Qt::Key_Return);
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1], QStringLiteral("王芳"));
    EXPECT_EQ(shown[2], QStringLiteral("李四"));
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_TRUE(ui.errors.empty());
}

// The browse buttons of a module list look as they work: on the first row 后一条记录 is drawn strong
// and 第一条记录 pale, also with the desktop icon theme the program asks for (whose arrows are pale).
TEST_F(RecordWindowsByHand, BrowseButtonsLookAsTheyWork)
{
    // As on a desktop: its theme (the plain one here), then the fallback the program sets.
    struct Restore {
        QStringList paths = QIcon::themeSearchPaths();
        QString theme = QIcon::themeName(), fallback = QIcon::fallbackThemeName();
        ~Restore()
        {
            QIcon::setThemeSearchPaths(paths);
            QIcon::setThemeName(theme);
            QIcon::setFallbackThemeName(fallback);
        }
    } restore;
    QIcon::setThemeSearchPaths({QStringLiteral("/usr/share/icons")});
    QIcon::setThemeName(QStringLiteral("hicolor"));
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    shell::Tmain main(p.frame(), false);
    main.resize(1366, 768);
    main.show();
    main.navigationBar()->button(QStringLiteral("人员档案管理"))->click();
    const auto darkest = [&](const char* button) {
        auto* b = main.panel(1)->findChild<QToolButton*>(QString::fromUtf8(button));
        const QImage img = b->grab().toImage();
        int least = 255;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) least = std::min(least, QColor(img.pixel(x, y)).lightness());
        return std::pair{b->isEnabled(), least};
    };
    const auto [nextOn, next] = darkest("后一条记录");
    const auto [firstOn, first] = darkest("第一条记录");
    EXPECT_TRUE(nextOn);
    EXPECT_FALSE(firstOn);
    EXPECT_LT(next, 110);
    EXPECT_GT(first, next + 30);
}

// The windows of modules 2 to 5 open on the double-clicked row of their list (the second here),
// whose record they show.
TEST_F(RecordWindowsByHand, ModuleWindowsOpenOnTheDoubleClickedRow)
{
    exec("insert into 培训课程 (课程编号, 培训名称, 开始日期) values ('C01', '安全培训', '2024-03-01'), "
         "('C02', '财务软件', '2024-04-10')");
    exec("insert into 培训记录 (课程编号1, 员工编号1, 受培训人姓名, 培训费用) values ('C01', 'E01', '吴颖', 0), "
         "('C02', 'E03', '范红', 0), ('C02', 'E02', '李四', 0)");
    exec("insert into 职称评定 (员工编号1, 被评定人姓名, 评定职称) values ('E01', '吴颖', '工程师'), ('E03', '范红', '会计师'), "
         "('E04', '王芳', '经济师')");
    exec("insert into 奖惩情况 (员工编号1, 奖惩人姓名, 奖惩内容) values ('E01', '吴颖', '先进个人'), ('E03', '范红', '优秀员工'), "
         "('E04', '王芳', '年度标兵')");
    exec("insert into 调动记录 (员工编号1, 姓名, 调动类型) values ('E01', '吴颖', '内部调动'), ('E03', '范红', '晋升'), "
         "('E04', '王芳', '借调')");
    shell::registerProgramWindows();
    shell::Tmain main(p.frame(), false);
    main.resize(1366, 768);
    main.show();

    struct Case {
        const char* module;
        const char* window;
        std::function<std::string(const db::DataSet& list)> clicked;  // the list row's record
        std::function<std::string()> shown;  // what the opened window holds as its current record
    };
    const auto column = [](const char* name) { return [name](const db::DataSet& list) { return list.asString(name); }; };
    const Case cases[] = {
        {"人员培训管理", "员工培训管理",
         [](const db::DataSet& list) { return list.asString("课程编号") + list.asString("员工编号"); },
         [this] { return dm.pxkc.asString("课程编号") + dm.pxjl1.asString("员工编号1"); }},
        {"人员职称评定", "职称评定管理", column("被评定人姓名"), [this] { return dm.zcpd.asString("被评定人姓名"); }},
        {"人员奖惩管理", "奖惩数据管理", column("奖惩人姓名"), [this] { return dm.jcqk.asString("奖惩人姓名"); }},
        {"人员调动管理", "调动数据管理", column("姓名"), [this] { return dm.ddjl1.asString("姓名"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.module);
        main.navigationBar()->button(QString::fromUtf8(c.module))->click();
        auto* grid = main.workAreaWidget()->findChild<QTableView*>(QStringLiteral("moduleGrid"));
        ASSERT_NE(grid, nullptr);
        ASSERT_GE(grid->model()->rowCount(), 3);
        const QRect second = grid->visualRect(grid->model()->index(1, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, second.center());
        const db::DataSet& list = *static_cast<widgets::DataSetModel*>(grid->model())->dataSet();
        const std::string clicked = c.clicked(list);
        std::string shown;
        ui.onWindow(c.window, [&] {
            QTimer::singleShot(0, &main, [&] {
                QWidget* w = QApplication::activeModalWidget();
                ASSERT_NE(w, nullptr);
                shown = c.shown();
                static_cast<QDialog*>(w)->reject();
            });
            widgets::openRegisteredWindow(c.window, &main);
        });
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, second.center());
        EXPECT_EQ(shown, clicked);
        EXPECT_EQ(grid->currentIndex().row(), 1);
    }
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
}

// A date box keeps what is typed key by key, checks it on Enter or when it is left and then shows
// the stored form; an impossible date is refused with the dataset's message and stays as typed.
TEST_F(RecordWindowsByHand, DatesAreTypedKeyByKey)
{
    dm.rszl.open();
    personnel::Trszlw w(dm);
    w.resize(1100, 700);
    w.show();
    QTest::qWaitForWindowExposed(&w);
    auto* box = child<QLineEdit>(w, "入团日期");
    auto* other = child<QLineEdit>(w, "姓名");

    // The first key into the empty box of a stored employee stays.
    click(box);
    QTest::keyClicks(box, QStringLiteral("2015-10-2"));
    EXPECT_EQ(box->text(), QStringLiteral("2015-10-2"));
    QTest::keyClicks(box, QStringLiteral("0"));
    EXPECT_EQ(box->text(), QStringLiteral("2015-10-20"));
    test::screenshot(&w, "date-typed.png");
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(dm.rszl.asString("入团日期"), "2015-10-20");

    const std::pair<const char*, const char*> typed[] = {
        {"2022-06-30", "2022-06-30"}, {"2022-6-3", "2022-06-03"}, {"20221115", "2022-11-15"},
        {"2022.11.15", "2022-11-15"}, {"2022/06/30", "2022-06-30"},
    };
    for (const auto& [keys, stored] : typed) {
        SCOPED_TRACE(keys);
        click(box);
        box->selectAll();
        QTest::keyClicks(box, QString::fromUtf8(keys));
        EXPECT_EQ(box->text(), QString::fromUtf8(keys));
        click(other);  // leaving the box checks it
        EXPECT_EQ(box->text(), QString::fromUtf8(stored));
        EXPECT_EQ(dm.rszl.asString("入团日期"), stored);
    }
    EXPECT_TRUE(ui.errors.empty());

    click(box);
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("2022-02-30"));
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("不是有效的日期"), std::string::npos);
    EXPECT_EQ(box->text(), QStringLiteral("2022-02-30"));
    EXPECT_EQ(QApplication::focusWidget(), box);

    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("2022-02-28"));
    click(child<QPushButton>(w, "saveButton"));
    EXPECT_EQ(p.count("员工基本情况 where 员工编号 = 'E01' and 入团日期 = '2022-02-28'"), 1);
    EXPECT_EQ(ui.errors.size(), 1u);
}

// 删除 on a row still being added drops it without a word, in the employee window (with the module
// list's grid over the same dataset) and in 调动数据管理 after the person picker was left.
TEST_F(RecordWindowsByHand, DeletingANewRowAbandonsItSilently)
{
    dm.rszl.open();
    widgets::DataSetGrid moduleList(&dm.rszl, false);
    moduleList.show();
    {
        personnel::Trszlw w(dm);
        w.show();
        QTest::qWaitForWindowExposed(&w);
        click(child<QPushButton>(w, "addButton"));
        QTest::keyClicks(child<QLineEdit>(w, "姓名"), QStringLiteral("Xin"));
        click(child<QPushButton>(w, "deleteButton"));
        EXPECT_EQ(dm.rszl.state(), db::DataSet::State::Browse);
        EXPECT_EQ(dm.rszl.recordCount(), 4);
    }

    dm.CurrentModule = 5;
    dm.ddjl1.setSql(db::SqlLines{"select * from 调动记录"});
    dm.ddjl1.open();
    widgets::DataSetGrid transfers(&dm.ddjl1, false);
    transfers.show();
    ui.onWindow("选择被调动人", [this] { dm.PickResult = 0; });  // 取消
    personnel::Tddglw w(dm);
    w.show();
    QTest::qWaitForWindowExposed(&w);
    click(child<QPushButton>(w, "addButton"));
    click(child<QPushButton>(w, "deleteButton"));
    EXPECT_EQ(dm.ddjl1.recordCount(), 0);
    EXPECT_EQ(p.count("调动记录"), 0);

    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
    EXPECT_TRUE(ui.questions.empty());
}

// Where there is room, Chinese text is shown whole: the address and mail boxes of page 0, the
// résumé grid's 学校或者工作单位 title and values, and a module list's longer words.
TEST_F(RecordWindowsByHand, LongTextsAreShownWhole)
{
    exec("insert into 个人经历 (起始日期, 学校或者工作单位, 员工编号1) values ('2008-09-01', '北京航空航天大学计算机学院', 'E03')");
    // The longer word only far down the list, out of sight.
    exec("insert into 员工基本情况 (员工编号, 姓名, 职务) with recursive n(i) as (select 10 union all select i + 1 "
         "from n where i < 90) select 'F' || i, '职员' || i, '科员' from n");
    exec("update 员工基本情况 set 职务 = '部门副经理' where 员工编号 = 'F90'");
    constexpr int kCellMargins = 6;  // a grid cell's text margins, both sides
    const auto fits = [](const QWidget* w, const QString& text, int room) {
        return w->fontMetrics().horizontalAdvance(text) <= room;
    };
    dm.rszl.open();
    ASSERT_TRUE(dm.rszl.locate("员工编号", db::Value("E03")));
    personnel::Trszlw w(dm);
    w.show();
    QTest::qWaitForWindowExposed(&w);
    for (const char* column : {"家庭住址", "EMAIL"}) {
        auto* box = child<QLineEdit>(w, column);
        EXPECT_TRUE(fits(box, box->text(), box->width() - 12)) << column;
    }
    w.pages()->setCurrentIndex(2);
    auto* resume = child<QTableView>(w, "grjl");
    int school = -1;
    for (int c = 0; c < resume->model()->columnCount(); ++c)
        if (resume->model()->headerData(c, Qt::Horizontal).toString() == QStringLiteral("学校或者工作单位")) school = c;
    ASSERT_GE(school, 0);
    EXPECT_GE(resume->columnWidth(school), resume->horizontalHeader()->sectionSizeHint(school));
    EXPECT_TRUE(fits(resume, QStringLiteral("北京航空航天大学计算机学院"), resume->columnWidth(school) - kCellMargins));

    widgets::DataSetGrid list(&dm.rszl, false);
    list.show();
    const int post = dm.rszl.fieldIndex("职务");
    EXPECT_TRUE(fits(&list, QStringLiteral("部门副经理"), list.columnWidth(post) - kCellMargins));
}

// A sub-record editor starts in its first field that takes typing, not in 序号 (which shows -1 on a
// new row).
TEST_F(RecordWindowsByHand, EditorOpensInItsFirstEditableField)
{
    dm.rszl.open();
    dm.grjl.setSql(db::SqlLines{"select * from 个人经历 where 员工编号1 = 'E01'"});
    dm.grjl.setRowNumberField(true);
    dm.grjl.open();
    dm.CurrentModule = 1;
    dm.editorOpen.grjl = true;  // appended as the window's own 增加 does, without opening it again
    dm.grjl.append();
    personnel::Tunitw w(dm, *app::editorSpec("个人简历编辑"));
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(child<QLineEdit>(w, "序号")->text(), QStringLiteral("-1"));
    EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>(w, "起始日期"));
}

// Esc, pressed as often as it takes to close the window, asks about an edited row first: a date
// still being typed counts as an edit, as does a grid cell written with Enter.
TEST_F(RecordWindowsByHand, EscapeAsksAboutAnEditedRow)
{
    const auto escapeUntilClosed = [this](QDialog& w, QWidget* typedInto, const QString& keys, bool enter) {
        ui.clear();
        QTimer::singleShot(0, &w, [&w, typedInto, keys, enter] {
            QApplication::setActiveWindow(&w);
            typedInto->setFocus();
            QTest::keyClicks(typedInto, keys);
            if (enter) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            for (int i = 0; i < 3 && w.isVisible(); ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        QTimer::singleShot(3000, &w, [&w] { w.done(QDialog::Accepted); });
        EXPECT_EQ(w.exec(), QDialog::Rejected);
        EXPECT_EQ(ui.questions, std::vector<std::string>{"数据已修改，是否保存？"});
    };

    exec("insert into 职称评定 (员工编号1, 被评定人姓名, 评定职称) values ('E01', '吴颖', '会计师')");
    dm.zcpd1.setSql(app::findModule(3)->sql);
    dm.zcpd1.open();
    dm.CurrentModule = 3;
    {
        personnel::Tpersonrecw w(dm, personnel::titleRecordSetup());
        w.show();
        escapeUntilClosed(w, child<QLineEdit>(w, "取得日期"), QStringLiteral("2020-1-2"), false);
    }
    ui.answer(true);  // 是: the date typed is saved on the way out
    {
        personnel::Tpersonrecw w(dm, personnel::titleRecordSetup());
        w.show();
        escapeUntilClosed(w, child<QLineEdit>(w, "取得日期"), QStringLiteral("20200102"), false);
    }
    EXPECT_EQ(p.count("职称评定 where 取得日期 = '2020-01-02'"), 1);

    exec("insert into 培训课程 (课程编号, 培训名称) values ('C01', '安全培训')");
    dm.CurrentModule = 2;
    personnel::Tpxglw w(dm);
    w.show();
    auto* courses = child<QTableView>(w, "courses");
    const int column = 1;  // 培训名称
    ASSERT_EQ(courses->model()->headerData(column, Qt::Horizontal).toString(), QStringLiteral("培训名称"));
    QTest::mouseClick(courses->viewport(), Qt::LeftButton, {}, courses->visualRect(courses->model()->index(0, column)).center());
    escapeUntilClosed(w, courses, QStringLiteral("X"), true);
}

// Enter on a focused button presses it: in the login window Enter in the password box goes to
// 登录, and Enter there logs in; in a record window Enter on 返回 closes it.
TEST_F(RecordWindowsByHand, EnterOnAFocusedButtonPressesIt)
{
    std::unique_ptr<QObject> enter(widgets::installEnterPressesButtons(*qApp));
    admin::Tkhdlw login(p.frame());
    QTimer::singleShot(0, &login, [&] {
        QApplication::setActiveWindow(&login);
        auto* password = child<QLineEdit>(login, "passwordBox");
        password->setFocus();
        QTest::keyClick(password, Qt::Key_Return);
        QWidget* focus = QApplication::focusWidget();
        ASSERT_EQ(focus, child<QPushButton>(login, "loginButton"));
        QTest::keyClick(focus, Qt::Key_Return);
    });
    QTimer::singleShot(3000, &login, [&] { login.done(QDialog::Rejected); });  // not logged in: the test fails
    EXPECT_EQ(login.exec(), QDialog::Accepted);
    EXPECT_FALSE(p.frame().LoginFailed);

    dm.grjl.setSql(db::SqlLines{"select * from 个人经历"});
    dm.grjl.open();
    personnel::Tunitw editor(dm, *app::editorSpec("个人简历编辑"));
    QTimer::singleShot(0, &editor, [&] {
        QApplication::setActiveWindow(&editor);
        auto* back = child<QPushButton>(editor, "returnButton");
        back->setFocus();
        QTest::keyClick(back, Qt::Key_Return);
    });
    QTimer::singleShot(3000, &editor, [&] { editor.done(QDialog::Accepted); });
    EXPECT_EQ(editor.exec(), QDialog::Rejected);
}

}  // namespace
