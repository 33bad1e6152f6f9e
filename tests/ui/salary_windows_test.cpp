// The salary table page, the salary card and the two work lists as a user meets them. With
// RSGZ_SCREENSHOT_DIR set, each test also saves what it shows there as a picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <clocale>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "app/TDM.h"
#include "shell/Tmain.h"
#include "db/Money.h"
#include "payroll/MonthTable.h"
#include "payroll/SalaryView.h"
#include "payroll/windows/Tgzeditw.h"
#include "payroll/windows/TWorkListWindow.h"
#include "query/DefaultQueryFiles.h"
#include "query/GridLayout.h"
#include "print/TablePages.h"
#include "print/TableSource.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "widgets/GridFooter.h"
#include "shell/ModulePanel.h"
#include "shell/NavigationBar.h"
#include "shell/ProgramWindows.h"
#include "shell/TablePrintWindows.h"
#include "widgets/WindowRegistry.h"

namespace {

using namespace rsgz;

void saveShot(QWidget* w, const char* name)
{
    const QString dir = qEnvironmentVariable("RSGZ_SCREENSHOT_DIR");
    if (!dir.isEmpty()) w->grab().save(dir + "/" + QString::fromUtf8(name) + ".png");
}

// Types text key by key, Chinese characters too (QTest::keyClicks knows only Latin keys).
void typeText(QWidget* w, const QString& text)
{
    for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

int columnOf(QTableView* grid, const QString& title)
{
    QAbstractItemModel* m = grid->model();
    for (int c = 0; c < m->columnCount(); ++c)
        if (m->headerData(c, Qt::Horizontal).toString() == title) return c;
    return -1;
}

// The sum of a column's texts as the grid shows them, "0.00".
QString sumOfTexts(const QStringList& texts)
{
    db::Money sum;
    for (const QString& t : texts) {
        db::Money m;
        EXPECT_TRUE(db::Money::parse(t.toStdString(), &m)) << t.toStdString();
        sum = sum + m;
    }
    return QString::fromStdString(sum.toString(2));
}

// Every shown column of the grid has its cell of the totals row right below it, as wide as it.
void expectFooterUnderColumns(QTableView* grid, widgets::GridFooter* footer, const char* when)
{
    const QHeaderView* top = grid->horizontalHeader();
    const QHeaderView* bottom = footer->row();
    ASSERT_EQ(bottom->count(), top->count()) << when;
    for (int c = 0; c < top->count(); ++c) {
        EXPECT_EQ(bottom->isSectionHidden(c), top->isSectionHidden(c)) << when << ", column " << c;
        if (top->isSectionHidden(c)) continue;
        const int x = top->viewport()->mapToGlobal(QPoint(top->sectionViewportPosition(c), 0)).x();
        EXPECT_EQ(bottom->viewport()->mapToGlobal(QPoint(bottom->sectionViewportPosition(c), 0)).x(), x) << when << ", column " << c;
        EXPECT_EQ(bottom->sectionSize(c), top->sectionSize(c)) << when << ", column " << c;
    }
}

QStringList columnTexts(QTableView* grid, const QString& title)
{
    QAbstractItemModel* m = grid->model();
    int column = -1;
    for (int c = 0; c < m->columnCount(); ++c)
        if (m->headerData(c, Qt::Horizontal).toString() == title) column = c;
    QStringList out;
    for (int r = 0; column >= 0 && r < m->rowCount(); ++r) out << m->index(r, column).data().toString();
    return out;
}

class SalaryWindowsTest : public ::testing::Test {
protected:
    // Set 管理人员: 基本工资 and 岗位工资 entered, 应发合计 their sum, 个人所得税 on 应发合计 above 1600,
    // 实发工资 = 应发合计 - 个人所得税. March 2024 generated for four employees.
    SalaryWindowsTest()
    {
        QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
        p.logIn("admin");
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理人员')");
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 初始值, 是否所得税, 个税起征点, 个税关联, 计算公式) values "
             "('01', 'gz01', '基本工资', 1800, '否', 0, '', ''), ('01', 'gz02', '岗位工资', 600, '否', 0, '', ''), "
             "('01', 'gz03', '应发合计', 0, '否', 0, '', 'gz01+gz02'), "
             "('01', 'gz04', '个人所得税', 0, '是', 1600, '应发合计', ''), "
             "('01', 'gz05', '实发工资', 0, '否', 0, '', 'gz03-gz04')");
        exec("insert into 员工基本情况 (员工编号, 姓名, 工资等级, 工资帐套名称, 工资核算, 一级部门) values "
             "('E01', '张三', '一级', '管理人员', '是', '财务部'), ('E02', '李四', '二级', '管理人员', '是', '办公室'), "
             "('E03', '王五', '一级', '管理人员', '是', '销售部'), ('E04', '赵六', '三级', '管理人员', '是', '销售部')");
        exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 500, 5, 0), (500, 2000, 10, 25), "
             "(2000, 5000, 15, 125)");
        payroll::MonthTable(dm.DMADO).generateFromSet(payroll::Period::of("管理人员", 2024, 3));
        exec("update 工资表 set gz01=gz01+500 where 员工编号='E02'");
        exec("update 工资表 set gz01=gz01+2500 where 员工编号='E03'");
    }
    void exec(const std::string& sql) { dm.DMADO.exec(sql); }
    shell::ModulePanel* choose(shell::Tmain& w, const char* button, int module)
    {
        w.resize(1280, 600);
        w.navigationBar()->setOpenGroup(1);
        w.navigationBar()->button(QString::fromUtf8(button))->click();
        return qobject_cast<shell::ModulePanel*>(w.panel(module));
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};

// Item names as titles, the tax and the net pay of each row; the tree narrows to a month and the
// sort bar orders by the displayed net pay.
TEST_F(SalaryWindowsTest, SalaryPageShowsItemNamesTaxAndNetPay)
{
    shell::Tmain w(p.frame(), false);
    shell::ModulePanel* panel = choose(w, "工资表管理", 11);
    ASSERT_NE(panel, nullptr);
    QTableView* grid = panel->grid();
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(columnTexts(grid, QStringLiteral("姓名")), (QStringList{"张三", "李四", "王五", "赵六"}));
    // 2400 is 800 above 1600: 55; 2900 is 1300 above: 105; 4900 is 3300 above: 370.
    EXPECT_EQ(columnTexts(grid, QStringLiteral("个人所得税")), (QStringList{"55.00", "105.00", "370.00", "55.00"}));
    EXPECT_EQ(columnTexts(grid, QStringLiteral("实发工资")), (QStringList{"2345.00", "2795.00", "4530.00", "2345.00"}));

    // The sort and search boxes offer the net pay; the sort orders by what the grid shows.
    QComboBox* sort = panel->sortField();
    EXPECT_GE(sort->findText(QStringLiteral("gz05")), 0);
    EXPECT_GE(panel->searchField()->findText(QStringLiteral("gz05")), 0);
    panel->sortOrder()->setCurrentText(QStringLiteral("降序"));
    sort->setCurrentIndex(sort->findText(QStringLiteral("gz05")));
    emit sort->activated(sort->currentIndex());
    EXPECT_EQ(columnTexts(grid, QStringLiteral("实发工资")).front(), QStringLiteral("4530.00"));
    EXPECT_EQ(columnTexts(grid, QStringLiteral("姓名")).front(), QStringLiteral("王五"));
    w.show();
    saveShot(&w, "module11-salary-table");
}

// 生成工资表 on a fresh installation: the window opens on the set the page shows; after it closes the
// grid shows the new month with its formula items, tax and net pay computed, and the tree lists the
// month, chosen.
TEST_F(SalaryWindowsTest, GeneratedMonthShowsComputedAtOnceUnderItsNode)
{
    query::writeMissingQueryFiles(p.path("set/"));
    shell::registerProgramWindows();
    ui.onWindow("生成新工资表", [] { widgets::openRegisteredWindow("生成新工资表", QApplication::activeWindow()); });
    exec("insert into 帐套 (帐套编号, 帐套名称) values ('02', '生产人员')");
    dm.now = [] { return QDateTime(QDate(2024, 4, 2), QTime(9, 0)); };
    shell::Tmain w(p.frame(), false);
    shell::ModulePanel* panel = choose(w, "工资表管理", 11);
    ASSERT_NE(panel, nullptr);
    w.show();
    auto* setBox = panel->findChild<QComboBox*>(QStringLiteral("salarySetBox"));
    QTest::keyClick(setBox, Qt::Key_Down);  // the page shows 生产人员
    ASSERT_EQ(setBox->currentText(), QStringLiteral("生产人员"));
    EXPECT_EQ(panel->grid()->model()->rowCount(), 0);

    QString preselected;
    QTimer::singleShot(0, [&] {
        QWidget* d = QApplication::activeModalWidget();
        ASSERT_NE(d, nullptr);
        auto* set = d->findChild<QComboBox*>(QStringLiteral("setBox"));
        preselected = set->currentText();
        QTest::keyClick(set, Qt::Key_Up);  // back to 管理人员
        auto* month = d->findChild<QSpinBox*>(QStringLiteral("monthBox"));
        EXPECT_EQ(month->value(), 4);
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("生成工资表")), Qt::LeftButton);  // copies March
        QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("返回")), Qt::LeftButton);
    });
    QTest::mouseClick(panel->findChild<QPushButton*>(QStringLiteral("生成工资表")), Qt::LeftButton);
    EXPECT_EQ(preselected, QStringLiteral("生产人员"));
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front();

    QTableView* grid = panel->grid();
    EXPECT_EQ(setBox->currentText(), QStringLiteral("管理人员"));
    EXPECT_EQ(columnTexts(grid, QStringLiteral("月")), (QStringList{"04", "04", "04", "04"}));
    EXPECT_EQ(columnTexts(grid, QStringLiteral("应发合计")), (QStringList{"2400.00", "2900.00", "4900.00", "2400.00"}));
    EXPECT_EQ(columnTexts(grid, QStringLiteral("个人所得税")), (QStringList{"55.00", "105.00", "370.00", "55.00"}));
    EXPECT_EQ(columnTexts(grid, QStringLiteral("实发工资")), (QStringList{"2345.00", "2795.00", "4530.00", "2345.00"}));
    QTreeWidgetItem* node = panel->queryTree()->currentItem();
    ASSERT_NE(node, nullptr);
    ASSERT_NE(node->parent(), nullptr);
    ASSERT_NE(node->parent()->parent(), nullptr);
    EXPECT_EQ(node->text(0) + "/" + node->parent()->text(0) + "/" + node->parent()->parent()->text(0),
              QStringLiteral("04/2024/管理人员"));
    saveShot(&w, "salary-after-generate");
}

// The quick search is undone by emptying the box; leaving the page and coming back starts clean;
// closing asks about the rows shown.
TEST_F(SalaryWindowsTest, QuickSearchIsUndoneByAnEmptyBoxAndByReopeningThePage)
{
    shell::Tmain w(p.frame(), false);
    shell::ModulePanel* panel = choose(w, "工资表管理", 11);
    ASSERT_NE(panel, nullptr);
    w.show();
    auto* text = panel->findChild<QLineEdit*>(QStringLiteral("searchText"));
    auto* close = panel->findChild<QPushButton*>(QStringLiteral("工资结帐"));
    ASSERT_TRUE(text && close);
    ASSERT_EQ(panel->searchField()->currentText(), QStringLiteral("姓名"));
    typeText(text, QStringLiteral("李"));
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(columnTexts(panel->grid(), QStringLiteral("姓名")), QStringList{"李四"});
    ui.answer(false);
    QTest::mouseClick(close, Qt::LeftButton);
    ASSERT_EQ(ui.questions.size(), 1u);
    EXPECT_NE(ui.questions.back().find("的 1 条工资记录"), std::string::npos) << ui.questions.back();

    QTest::keyClick(text, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(text, Qt::Key_Backspace);
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(panel->grid()->model()->rowCount(), 4);

    typeText(text, QStringLiteral("王"));
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(panel->grid()->model()->rowCount(), 1);
    choose(w, "计时工资", 12);
    choose(w, "工资表管理", 11);
    EXPECT_TRUE(text->text().isEmpty());
    EXPECT_EQ(panel->grid()->model()->rowCount(), 4);
    ui.answer(false);
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_NE(ui.questions.back().find("所有月份的 4 条工资记录"), std::string::npos) << ui.questions.back();
}

// The card decides per row: amounts of an open row may be typed, those of a closed row may not.
TEST_F(SalaryWindowsTest, CardFollowsTheRowItShows)
{
    payroll::SalaryView view(dm.DMADO, dm.gzb);
    view.build("管理人员");
    view.filter().searchField = "员工编号";
    view.filter().searchText = "E02";
    view.closeRows();  // 李四 closed with the values shown
    view.filter() = {"管理人员", {}, "", "", "员工编号", false};
    view.open();
    payroll::Tgzeditw card(dm, view);
    card.show();
    auto* basic = card.findChild<QLineEdit*>(QStringLiteral("gz01"));
    auto* net = card.findChild<QLineEdit*>(QStringLiteral("gz05"));
    ASSERT_TRUE(basic && net);
    EXPECT_FALSE(basic->isReadOnly());
    EXPECT_TRUE(net->isReadOnly());
    EXPECT_EQ(net->text(), QStringLiteral("2345.00"));
    saveShot(&card, "salary-card-open-row");

    card.findChild<QPushButton*>(QStringLiteral("next"))->click();
    EXPECT_EQ(card.findChild<QLineEdit*>(QStringLiteral("姓名"))->text(), QStringLiteral("李四"));
    EXPECT_TRUE(basic->isReadOnly());
    EXPECT_EQ(net->text(), QStringLiteral("2795.00"));
    EXPECT_FALSE(card.findChild<QPushButton*>(QStringLiteral("delete"))->isEnabled());
    saveShot(&card, "salary-card-closed-row");
}

// The two work lists: their amounts in the grid, a sort and a quick search of their own, and the
// edit window a double-click opens.
TEST_F(SalaryWindowsTest, WorkListsShowAmountsSortAndSearch)
{
    exec("insert into 计件工资 (日期, 生产单号, 姓名, 员工编号1, 产品编号, 产品名称, 工序, 工序单价, 完成数量) values "
         "('2024-03-04', 'SC-0301', '王五', 'E03', 'P-101', '齿轮箱', '精车', 1.2345, 2.5), "
         "('2024-03-04', 'SC-0301', '赵六', 'E04', 'P-101', '齿轮箱', '装配', 3.2, 120), "
         "('2024-03-05', 'SC-0302', '王五', 'E03', 'P-205', '传动轴', '磨削', 0.85, 300)");
    exec("insert into 计时工资 (日期, 生产单号, 产品编号, 产品名称, 姓名, 员工编号, 工种, 工序, 计时单位, 计时单价, 时间, "
         "加班单价, 加班时间, 奖金) values "
         "('2024-03-04', 'SC-0301', 'P-101', '齿轮箱', '王五', 'E03', '车工', '精车', '小时', 10, 8, 15, 2, 50), "
         "('2024-03-04', 'SC-0301', 'P-101', '齿轮箱', '赵六', 'E04', '钳工', '装配', '小时', 12, 8, 18, 0, null)");
    shell::Tmain w(p.frame(), false);

    shell::ModulePanel* time = choose(w, "计时工资", 12);
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(columnTexts(time->grid(), QStringLiteral("应发工资")).size(), 2);
    EXPECT_EQ(time->sortField()->findText(QStringLiteral("金额")), -1);
    w.show();
    saveShot(&w, "module12-time-rate");

    shell::ModulePanel* piece = choose(w, "计件工资", 13);
    ASSERT_NE(piece, nullptr);
    QComboBox* sort = piece->sortField();
    piece->sortOrder()->setCurrentText(QStringLiteral("降序"));
    sort->setCurrentIndex(sort->findText(QStringLiteral("完成数量")));
    emit sort->activated(sort->currentIndex());
    EXPECT_EQ(columnTexts(piece->grid(), QStringLiteral("姓名")), (QStringList{"王五", "赵六", "王五"}));
    EXPECT_EQ(columnTexts(piece->grid(), QStringLiteral("金额")).back(), QStringLiteral("3.09"));  // 3.0862 shown "0.00"
    saveShot(&w, "module13-piece-rate");

    auto* searchField = piece->searchField();
    searchField->setCurrentIndex(searchField->findText(QStringLiteral("工序")));
    auto* text = piece->findChild<QLineEdit*>(QStringLiteral("searchText"));
    ASSERT_NE(text, nullptr);
    text->setText(QStringLiteral("装配"));
    emit text->returnPressed();
    EXPECT_EQ(columnTexts(piece->grid(), QStringLiteral("姓名")), QStringList{"赵六"});

    payroll::Tjjgzw window(dm);
    window.show();
    EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("姓名"))->text(), QStringLiteral("赵六"));
    EXPECT_TRUE(window.findChild<QLineEdit*>(QStringLiteral("金额"))->isReadOnly());
    saveShot(&window, "piece-rate-window");
}

// The number boxes of both edit windows take a typed decimal point, the keypad's too, whatever the
// locale; the price keeps its four decimals, quantities and amounts follow the "0.00" pattern.
TEST_F(SalaryWindowsTest, WorkListBoxesTakeTypedDecimalsUnderEveryLocale)
{
    exec("insert into 计件工资 (日期, 姓名, 员工编号1, 产品名称, 工序) values ('2024-03-04', '王五', 'E03', '齿轮箱', '精车')");
    exec("insert into 计时工资 (日期, 姓名, 员工编号, 工种) values ('2024-03-04', '王五', 'E03', '车工')");
    shell::Tmain w(p.frame(), false);
    choose(w, "计时工资", 12);
    choose(w, "计件工资", 13);
    ASSERT_TRUE(dm.jsgz.active() && dm.jjgz.active());
    // The keypad's decimal key gives "." on most keyboards and "," on a German one.
    bool keypadComma = false;
    const auto type = [&keypadComma](QWidget* box, const QString& text, bool keypadPoint) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        for (const QChar c : text) {
            if (c == QLatin1Char('.') && keypadPoint && keypadComma)
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Comma, QStringLiteral(","), Qt::KeypadModifier);
            else if (c == QLatin1Char('.') && keypadPoint)
                QTest::keyClick(box, Qt::Key_Period, Qt::KeypadModifier);
            else
                QTest::keyClick(box, c.toLatin1());
        }
        QTest::keyClick(box, Qt::Key_Return);
    };
    const QString restore = QLocale().name();
    for (const char* locale : {"C", "zh_CN", "de_DE"}) {
        SCOPED_TRACE(locale);
        QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
        std::setlocale(LC_ALL, (std::string(locale) + (std::string(locale) == "C" ? "" : ".UTF-8")).c_str());
        keypadComma = std::string(locale) == "de_DE";
        {
            payroll::Tjjgzw piece(dm);
            piece.show();
            auto* price = piece.findChild<QLineEdit*>(QStringLiteral("工序单价"));
            auto* count = piece.findChild<QLineEdit*>(QStringLiteral("完成数量"));
            type(price, QStringLiteral("1.2345"), false);
            type(count, QStringLiteral("2.5"), true);
            EXPECT_EQ(dm.jjgz.value("工序单价").toMoney().toString(), "1.2345");
            EXPECT_EQ(dm.jjgz.value("完成数量").toDouble(), 2.5);
            EXPECT_EQ(price->text(), QStringLiteral("1.2345"));
            EXPECT_EQ(count->text(), QStringLiteral("2.50"));
            EXPECT_EQ(piece.findChild<QLineEdit*>(QStringLiteral("金额"))->text(), QStringLiteral("3.09"));  // 3.0862
            if (std::string(locale) == "C") {
                piece.findChild<QLineEdit*>(QStringLiteral("备注"))->setFocus();
                saveShot(&piece, "piece-rate-typed-price");
            }
            piece.findChild<QPushButton*>(QStringLiteral("cancel"))->click();
        }
        {
            payroll::Tjsgzfzw time(dm);
            time.show();
            type(time.findChild<QLineEdit*>(QStringLiteral("计时单价")), QStringLiteral("10"), false);
            type(time.findChild<QLineEdit*>(QStringLiteral("时间")), QStringLiteral("7.5"), true);
            type(time.findChild<QLineEdit*>(QStringLiteral("加班时间")), QStringLiteral("0.25"), false);
            type(time.findChild<QLineEdit*>(QStringLiteral("加班单价")), QStringLiteral("15"), false);
            EXPECT_EQ(dm.jsgz.value("时间").toDouble(), 7.5);
            EXPECT_EQ(time.findChild<QLineEdit*>(QStringLiteral("时间"))->text(), QStringLiteral("7.50"));
            EXPECT_EQ(time.findChild<QLineEdit*>(QStringLiteral("计时单价"))->text(), QStringLiteral("10.00"));
            EXPECT_EQ(time.findChild<QLineEdit*>(QStringLiteral("金额"))->text(), QStringLiteral("75.00"));
            EXPECT_EQ(time.findChild<QLineEdit*>(QStringLiteral("应发工资"))->text(), QStringLiteral("78.75"));
            time.findChild<QPushButton*>(QStringLiteral("cancel"))->click();
        }
    }
    QLocale::setDefault(QLocale(restore));
    std::setlocale(LC_ALL, "");
}

// An empty work list (a fresh installation) opens its edit window on a new row: by a double-click
// on the grid, by Enter on it, and by 增加 on the page; the grid reads person, work, quantity, price
// and amount, without 编号.
TEST_F(SalaryWindowsTest, EmptyWorkListOpensTheEditWindowOnANewRow)
{
    ui.onWindow("选择姓名", [this] {
        dm.s4.close();
        dm.s4.setSql("select * from 员工基本情况 where 员工编号='E03'");
        dm.s4.open();
        dm.PickResult = 1;
    });
    std::vector<std::string> rowsSeen;
    ui.onWindow("计件工资编辑", [&] {
        payroll::Tjjgzw window(dm);
        window.show();
        QApplication::processEvents();  // the window begins the row once it is shown
        rowsSeen.push_back(window.findChild<QLineEdit*>(QStringLiteral("姓名"))->text().toStdString() + "/" +
                           std::to_string(dm.jjgz.state() == db::DataSet::State::Insert));
        window.findChild<QPushButton*>(QStringLiteral("cancel"))->click();
    });
    shell::Tmain w(p.frame(), false);
    shell::ModulePanel* piece = choose(w, "计件工资", 13);
    ASSERT_NE(piece, nullptr);
    w.show();
    QTableView* grid = piece->grid();
    ASSERT_EQ(grid->model()->rowCount(), 0);
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c) titles << grid->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles.mid(0, 9), (QStringList{"序号", "日期", "姓名", "产品名称", "工序", "完成数量", "工序单价", "金额", "生产单号"}));
    EXPECT_FALSE(titles.contains(QStringLiteral("编号")));

    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(40, 40));
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::mouseClick(piece->findChild<QPushButton*>(QStringLiteral("增加")), Qt::LeftButton);
    EXPECT_EQ(rowsSeen, (std::vector<std::string>{"王五/1", "王五/1", "王五/1"}));
    EXPECT_EQ(grid->model()->rowCount(), 0);  // each new row was cancelled in the window
}

// In an edit window Enter walks the boxes and goes from the last back to the first; 返回 drops a
// new row nobody touched without asking. Without the list's right only 返回 is on.
TEST_F(SalaryWindowsTest, WorkListWindowWalksEnterRoundAndDropsAnUntouchedRow)
{
    exec("insert into 计件工资 (日期, 姓名, 员工编号1, 产品名称, 工序) values ('2024-03-04', '王五', 'E03', '齿轮箱', '精车')");
    ui.onWindow("选择姓名", [this] {
        dm.s4.close();
        dm.s4.setSql("select * from 员工基本情况 where 员工编号='E03'");
        dm.s4.open();
        dm.PickResult = 1;
    });
    shell::Tmain w(p.frame(), false);
    ASSERT_NE(choose(w, "计件工资", 13), nullptr);
    {
        payroll::Tjjgzw window(dm);
        window.show();
        QApplication::processEvents();
        auto* note = window.findChild<QLineEdit*>(QStringLiteral("备注"));
        note->setFocus();
        QTest::keyClick(note, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), window.findChild<QLineEdit*>(QStringLiteral("日期")));
        auto* price = window.findChild<QLineEdit*>(QStringLiteral("工序单价"));
        price->setFocus();
        QTest::keyClick(price, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), window.findChild<QLineEdit*>(QStringLiteral("完成数量")));

        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("add")), Qt::LeftButton);
        EXPECT_EQ(window.findChild<QLineEdit*>(QStringLiteral("姓名"))->text(), QStringLiteral("王五"));
        ASSERT_EQ(dm.jjgz.state(), db::DataSet::State::Insert);
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("close")), Qt::LeftButton);
        EXPECT_FALSE(window.isVisible());
        EXPECT_FALSE(dm.jjgz.isEditing());
        EXPECT_TRUE(ui.questions.empty());
        EXPECT_EQ(dm.jjgz.recordCount(), 1);
    }
    exec("update 权限 set 计件工资=0");
    dm.zh.close();
    dm.zh.open();
    payroll::Tjjgzw window(dm);
    window.show();
    for (const char* name : {"add", "delete", "save", "cancel", "close"})
        EXPECT_EQ(window.findChild<QPushButton*>(QString::fromUtf8(name))->isEnabled(), std::string(name) == "close") << name;
    EXPECT_TRUE(window.findChild<QLineEdit*>(QStringLiteral("备注"))->isReadOnly());
}


// The totals row under the salary grid: 合计 under the first text column and the sum of every money
// column as the grid shows it; it stays under its columns when one is widened and when the grid
// scrolls, and follows an amount typed into the salary card.
TEST_F(SalaryWindowsTest, TotalsRowFollowsColumnsScrollAndEdits)
{
    query::writeMissingQueryFiles(p.path("set/"));
    shell::registerProgramWindows();
    ui.onWindow("工资卡片编辑", [] { widgets::openRegisteredWindow("工资卡片编辑", QApplication::activeWindow()); });
    exec("update 工资表 set gz02=gz02+0.125 where 员工编号 in ('E03', 'E04')");  // both show 600.13
    shell::Tmain w(p.frame(), false);
    shell::ModulePanel* panel = choose(w, "工资表管理", 11);
    ASSERT_NE(panel, nullptr);
    w.show();
    QTableView* grid = panel->grid();
    widgets::GridFooter* footer = panel->gridFooter();
    ASSERT_NE(footer, nullptr);
    EXPECT_TRUE(footer->isVisible());
    EXPECT_EQ(footer->text(columnOf(grid, QStringLiteral("姓名"))), QStringLiteral("合计"));
    EXPECT_EQ(footer->text(columnOf(grid, QStringLiteral("序号"))), QString()) << "a row number is not summed";
    const QStringList amounts = {"基本工资", "岗位工资", "应发合计", "个人所得税", "实发工资"};
    auto expectSums = [&](const char* when) {
        for (const QString& a : amounts)
            EXPECT_EQ(footer->text(columnOf(grid, a)), sumOfTexts(columnTexts(grid, a))) << when << ": " << a.toStdString();
    };
    expectSums("opened");
    EXPECT_EQ(footer->text(columnOf(grid, QStringLiteral("岗位工资"))), QStringLiteral("2400.26")) << "not the stored 2400.25";
    expectFooterUnderColumns(grid, footer, "opened");
    saveShot(&w, "salary-totals");

    // Widen 基本工资 by dragging the right edge of its title.
    QHeaderView* header = grid->horizontalHeader();
    const int basic = columnOf(grid, QStringLiteral("基本工资"));
    const int before = header->sectionSize(basic);
    const int edge = header->sectionViewportPosition(basic) + before - 1, y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(edge, y));
    QTest::mouseMove(header->viewport(), QPoint(edge + 80, y));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(edge + 80, y));
    ASSERT_GT(header->sectionSize(basic), before) << "the drag widened the column";
    expectFooterUnderColumns(grid, footer, "widened");

    // A narrow window scrolls the grid sideways: a click on the scroll bar's far end.
    w.resize(700, 600);
    QApplication::processEvents();
    QScrollBar* bar = grid->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 30, bar->height() / 2));
    ASSERT_GT(bar->value(), 0);
    expectFooterUnderColumns(grid, footer, "scrolled");

    // 李四's 基本工资 2300 typed as 2500.5 in the card: the totals follow as it is typed and after 保存.
    const QPoint liSi(grid->viewport()->width() / 2, grid->rowViewportPosition(1) + grid->rowHeight(1) / 2);
    QString whileTyping;
    QTimer::singleShot(0, [&] {
        QWidget* card = QApplication::activeModalWidget();
        ASSERT_NE(card, nullptr);
        auto* box = card->findChild<QLineEdit*>(QStringLiteral("gz01"));
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), QStringLiteral("2300.00"));
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, QStringLiteral("2500.5"));
        whileTyping = footer->text(basic);
        QTest::mouseClick(card->findChild<QPushButton*>(QStringLiteral("save")), Qt::LeftButton);
        QTest::mouseClick(card->findChild<QPushButton*>(QStringLiteral("close")), Qt::LeftButton);
    });
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, liSi);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, liSi);
    EXPECT_EQ(whileTyping, QStringLiteral("10400.50"));
    EXPECT_EQ(footer->text(basic), QStringLiteral("10400.50"));
    EXPECT_EQ(columnTexts(grid, QStringLiteral("实发工资"))[1], QStringLiteral("2975.45")) << "2500.5 + 600 - 125.05";
    expectSums("after the card");
    expectFooterUnderColumns(grid, footer, "after the card");

    // A quick search narrows the rows and the totals with them.
    auto* text = panel->findChild<QLineEdit*>(QStringLiteral("searchText"));
    ASSERT_EQ(panel->searchField()->currentText(), QStringLiteral("姓名"));
    typeText(text, QStringLiteral("王"));
    QTest::keyClick(text, Qt::Key_Return);
    ASSERT_EQ(grid->model()->rowCount(), 1);
    EXPECT_EQ(footer->text(basic), QStringLiteral("4300.00"));
    expectSums("searched");
}

// A total is wider than the amounts above it: its column is widened so that no digit is cut off.
TEST_F(SalaryWindowsTest, EveryTotalFitsItsColumn)
{
    exec("update 工资表 set gz01=9999.99");
    exec("with recursive n(i) as (select 1 union all select i+1 from n where i < 2000) "
         "insert into 工资表 (姓名, 员工编号, 工资帐套, 年, 月, 结帐状态, gz01, gz02) "
         "select 姓名, 员工编号, 工资帐套, 年, 月, 结帐状态, gz01, gz02 from 工资表, n where 员工编号='E01'");
    shell::Tmain w(p.frame(), false);
    shell::ModulePanel* panel = choose(w, "工资表管理", 11);
    ASSERT_NE(panel, nullptr);
    w.show();
    QTableView* grid = panel->grid();
    widgets::GridFooter* footer = panel->gridFooter();
    ASSERT_NE(footer, nullptr);
    ASSERT_EQ(grid->model()->rowCount(), 2004);
    EXPECT_EQ(footer->text(columnOf(grid, QStringLiteral("基本工资"))), QStringLiteral("20039979.96")) << "2004 × 9999.99";
    for (const QString& a : {"基本工资", "岗位工资", "应发合计", "个人所得税", "实发工资"}) {
        const int c = columnOf(grid, a);
        EXPECT_LE(footer->row()->sectionSizeHint(c), grid->horizontalHeader()->sectionSize(c)) << a.toStdString();
    }
    expectFooterUnderColumns(grid, footer, "widened for the totals");
}

// Formula items, the tax and the net pay are amounts like the others: "0.00" in the grid, the card,
// the printed table and the pay slips alike.
TEST_F(SalaryWindowsTest, ComputedAmountsShowTwoDecimalsEverywhere)
{
    exec("update 工资表 set gz01=3700.1 where 员工编号='E01'");  // 应发合计 4300.1
    shell::Tmain w(p.frame(), false);
    shell::ModulePanel* panel = choose(w, "工资表管理", 11);
    ASSERT_NE(panel, nullptr);
    w.show();
    QTableView* grid = panel->grid();
    const QStringList computed = {"应发合计", "个人所得税", "实发工资"};
    QStringList shown;
    for (const QString& c : computed) shown << columnTexts(grid, c).front();
    // 4300.1 is 2700.1 above 1600: 15 % less 125 is 280.015, 280.02 to the fen; the net pay takes that.
    EXPECT_EQ(shown, (QStringList{"4300.10", "280.02", "4020.08"}));

    std::vector<std::string> titles;
    for (const QString& c : computed) titles.push_back(c.toStdString());
    const print::DataSetSource source(dm.gzb, shell::moduleGridColumns(11));
    print::TableLayout table = print::TableLayout::defaults(titles);
    const print::ReportPage page = print::TablePrinter(table, source).page(1);
    const auto cells = page.textsOf(print::TextRole::Cell);
    ASSERT_GE(cells.size(), 3u);
    EXPECT_EQ(QStringList({QString::fromStdString(cells[0]), QString::fromStdString(cells[1]), QString::fromStdString(cells[2])}), shown)
        << "the printed table";
    table.payStubs = true;
    const auto slip = print::TablePrinter(table, source).slipOf(0).textsOf(print::TextRole::Cell);
    ASSERT_EQ(slip.size(), 3u);
    EXPECT_EQ(QStringList({QString::fromStdString(slip[0]), QString::fromStdString(slip[1]), QString::fromStdString(slip[2])}), shown)
        << "the pay slip";

    shell::registerProgramWindows();
    ui.onWindow("工资卡片编辑", [] { widgets::openRegisteredWindow("工资卡片编辑", QApplication::activeWindow()); });
    QStringList inCard;
    QTimer::singleShot(0, [&] {
        QWidget* card = QApplication::activeModalWidget();
        ASSERT_NE(card, nullptr);
        for (const char* code : {"gz03", "gz04", "gz05"}) inCard << card->findChild<QLineEdit*>(QString::fromUtf8(code))->text();
        QTest::mouseClick(card->findChild<QPushButton*>(QStringLiteral("close")), Qt::LeftButton);
    });
    const QRect first = grid->visualRect(grid->model()->index(0, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(inCard, shown) << "the salary card";
}

}  // namespace

