// An operator without any right walks every path that changes data: the rows of every shared list,
// the operations that write with statements of their own, and every window of the program driven
// as a user would (typing into each field, then each button and navigator, grid cells edited in
// place, double-clicks). Afterwards every table holds exactly what it held before.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "SampleData.h"
#include "admin/Maintenance.h"
#include "app/Rights.h"
#include "admin/RightsForm.h"
#include "app/Interaction.h"
#include "app/ModuleInfo.h"
#include "app/OperatorRights.h"
#include "app/TDM.h"
#include "db/Connection.h"
#include "db/DbError.h"
#include "exchange/ImportSession.h"
#include "exchange/SourceFile.h"
#include "payroll/MonthTable.h"
#include "payroll/NewMonthForm.h"
#include "payroll/PayrollSetsPage.h"
#include "payroll/SalaryCard.h"
#include "payroll/SalaryClosing.h"
#include "payroll/SalaryView.h"
#include "payroll/SetAssignment.h"
#include "payroll/windows/Tgzeditw.h"
#include "personnel/DepartmentEditor.h"
#include "personnel/DictionaryEditor.h"
#include "personnel/ListPickers.h"
#include "personnel/windows/Trszlw.h"
#include "query/BatchChange.h"
#include "query/ModuleQueries.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "shell/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

namespace {

using namespace rsgz;
using db::DataSet;

const char* const kNobody = "无权者";

// Every row of every table, as text, in a fixed order.
std::string contents(db::Connection& conn)
{
    std::vector<std::string> tables = conn.tableNames();
    // The engine's counters of the autoincrement keys: a row added and taken away again shows there.
    tables.push_back("sqlite_sequence");
    std::sort(tables.begin(), tables.end());
    std::string out;
    for (const std::string& t : tables) {
        out += "## " + t + "\n";
        db::Statement st = conn.prepareNative("select * from \"" + t + "\" order by rowid");
        while (st.step()) {
            for (int c = 0; c < st.columnCount(); ++c) {
                out += st.text(c).value_or("<null>");
                out += '|';
            }
            out += '\n';
        }
    }
    return out;
}

class RightsWalkTest : public ::testing::Test {
protected:
    RightsWalkTest()
    {
        sample::fillSampleData(dm.DMADO, 6, 11);
        set = firstSet();
        payroll::MonthTable(dm.DMADO).generateFromSet(payroll::Period::of(set, 2024, 3));
        std::string none;
        for (const std::string& r : app::allRights()) none += (none.empty() ? "" : ", ") + r + "=0";
        dm.DMADO.exec(std::string("insert into 权限 (姓名, 密码) values ('") + kNobody + "', 'x')");
        dm.DMADO.exec("update 权限 set " + none + " where 姓名='" + kNobody + "'");
        p.logIn(kNobody);
        for (int i = 0; i < 400; ++i) ui.answer(true);  // every question answered 是
        before = contents(dm.DMADO);
    }

    std::string firstSet()
    {
        DataSet sets(&dm.DMADO, "sets", {"select 帐套名称 from 帐套 order by 编号"});
        sets.open();
        return sets.asString("帐套名称");
    }

    // The module lists as the main window opens them, and the month's salary rows.
    void openLists(int module)
    {
        for (int m = 1; m <= 13; ++m) {
            const app::ModuleInfo* info = app::findModule(m);
            if (!info || info->dataSet.empty() || info->sql.empty()) continue;
            DataSet* ds = dm.dataSet(info->dataSet);
            ds->close();
            ds->setSql(info->sql);
            ds->open();
        }
        dm.CurrentModule = module;
    }

    bool refused() const
    {
        return std::any_of(ui.messages.begin(), ui.messages.end(),
                           [](const std::string& m) { return m.rfind("权限不足!", 0) == 0; });
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
    std::string set, before;
};

// Every guarded list: a new row, a changed row moved away from, a deleted row. Each is refused
// with the notice; the delete asks nothing first.
TEST_F(RightsWalkTest, EveryGuardedListRefusesInsertPostAndDelete)
{
    app::TDM defaults;
    for (DataSet* ds : dm.allDataSets()) {
        const std::string_view right = app::rightOfDataSet(ds->name());
        if (right.empty()) continue;
        SCOPED_TRACE(ds->name());
        // Each list on the statement it starts with (its own table, writable), not on a module's join.
        ds->close();
        const db::SqlLines& start = defaults.dataSet(ds->name())->sqlLines();
        ds->setSql(start.empty() ? db::SqlLines{"select * from 数据字典"} : start);
        ds->open();
        if (ds->readOnly()) continue;  // a list the program never writes through (the training module's)
        EXPECT_FALSE(ds->mayChange());
        ui.clear();
        EXPECT_FALSE(app::runAction([ds] { ds->append(); }));
        EXPECT_TRUE(refused()) << (ui.messages.empty() ? std::string() : ui.messages.back())
                               << (ui.errors.empty() ? std::string() : ui.errors.back());
        EXPECT_EQ(ui.windows, std::vector<std::string>{});  // no picker, no editor
        if (ds->isEmpty()) continue;
        int text = -1;
        for (int i = 0; i < ds->fieldCount() && text < 0; ++i)
            if (!ds->field(i).readOnly && ds->field(i).type == db::FieldType::Text) text = i;
        if (text >= 0) {
            ui.clear();
            const std::string old = ds->value(text).toString();
            app::runAction([ds, text] {
                ds->edit();
                ds->setValue(text, db::Value(std::string("改")));
                ds->next();
            });
            EXPECT_TRUE(refused());
            EXPECT_EQ(ds->state(), DataSet::State::Browse);
            EXPECT_EQ(ds->value(text).toString(), old);
        }
        ui.clear();
        EXPECT_FALSE(app::runAction([ds] { ds->remove(); }));
        EXPECT_TRUE(refused());
        EXPECT_TRUE(ui.questions.empty());
    }
    EXPECT_EQ(contents(dm.DMADO), before);
}

// The operations that write with statements of their own, each refused before it asks anything.
TEST_F(RightsWalkTest, OperationsOutsideTheListsAreRefused)
{
    openLists(9);
    payroll::SalaryView view(dm.DMADO, dm.gzb);
    view.build(set);
    view.open();
    query::ModuleQueries queries(dm);
    test::TempDir files;
    const std::string csv = files.filePath("人员.csv");
    {
        FILE* f = fopen(csv.c_str(), "w");
        fputs("员工编号,姓名\nN01,新人\n", f);
        fclose(f);
    }
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"删除帐套", [&] {
             payroll::PayrollSetsPage page(dm);
             page.open();
             page.deleteSet();
         }},
        {"员工帐套设定", [&] {
             payroll::SetAssignment a(dm);
             a.get_gzzt_field();
             a.assign(set);
         }},
        {"生成工资表", [&] {
             payroll::NewMonthForm f(dm);
             f.activate();
             f.setIndex = 0, f.year = 2024, f.month = 4;
             f.generate();
             f.month = 3;
             f.synchronise();
             f.removeMonth();
         }},
        {"工资结帐", [&] {
             app::runAction([&] {
                 payroll::requireClosingRights(dm);
                 view.closeRows();
             });
         }},
        {"批量修改", [&] {
             query::BatchChange b(dm, queries);
             b.run({.useCurrentQuery = false, .field = "职务", .ignoreOld = true, .newValue = "改"});
         }},
        {"导入数据", [&] {
             exchange::ImportSession s(dm, exchange::openSourceFile(csv), exchange::ImportSession::Kind::Excel);
             s.chooseTable(s.tables().front());
             s.setBox(0, "1");
             s.importRows();
         }},
        {"部门设置", [&] {
             personnel::DepartmentEditor e(dm, 1, {});
             e.load();
             e.add();
             e.setName(0, "新部门");
             app::runAction([&] { e.save(); });
         }},
        {"数据字典", [&] {
             personnel::DictionaryEditor e(dm);
             app::runAction([&] {
                 dm.zidian.close();
                 dm.zidian.setSql("select * from 数据字典");
                 dm.zidian.open();
                 e.add();
             });
             app::runAction([&] { e.remove(); });
         }},
        {"培训课程", [&] {
             personnel::CoursePicker c(dm);
             app::runAction([&] { c.activate(); });
             app::runAction([&] { c.add(); });
             app::runAction([&] { c.remove(); });
         }},
        {"权限管理", [&] {
             admin::RightsForm f(dm);
             app::runAction([&] { f.activate(); });
             app::runAction([&] { f.setRight(0, true); });
             app::runAction([&] { f.addOperator(); });
             app::runAction([&] { f.deleteOperator(); });
         }},
        {"系统初始化", [&] { admin::Maintenance(dm).initialize(); }},
    };
    for (const auto& [name, step] : steps) {
        SCOPED_TRACE(name);
        ui.clear();
        step();
        EXPECT_TRUE(refused());
        EXPECT_EQ(contents(dm.DMADO), before);
    }
}

// Types into every writable field, edits the first cells of every grid in place, ticks every box,
// then presses every button but the ones that leave; the window may close on the way.
void poke(QWidget* window)
{
    QPointer<QWidget> w(window);
    for (QLineEdit* e : w->findChildren<QLineEdit*>()) {
        if (!w || !e->isVisible() || !e->isEnabled() || e->isReadOnly()) continue;
        e->setFocus();
        QTest::keyClicks(e, QStringLiteral("9"));
    }
    if (!w) return;
    for (QPlainTextEdit* e : w->findChildren<QPlainTextEdit*>())
        if (e->isVisible() && !e->isReadOnly()) QTest::keyClicks(e, QStringLiteral("9"));
    for (QTableView* grid : w->findChildren<QTableView*>()) {
        if (!w || !grid->isVisible() || !grid->model() || grid->model()->rowCount() == 0) continue;
        for (int c = 0; c < std::min(grid->model()->columnCount(), 4); ++c) {
            const QRect cell = grid->visualRect(grid->model()->index(0, c));
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
            if (!w) return;
            if (QWidget* editor = QApplication::focusWidget(); editor && editor != grid) {
                QTest::keyClicks(editor, QStringLiteral("9"));
                QTest::keyClick(editor, Qt::Key_Return);
            }
        }
    }
    if (!w) return;
    for (QCheckBox* box : w->findChildren<QCheckBox*>())
        if (box->isVisible() && box->isEnabled()) box->click();
    static const std::set<QString> leaving = {QStringLiteral("返回"), QStringLiteral("关闭"), QStringLiteral("退出"),
                                              QStringLiteral("取消"), QStringLiteral("确定")};
    std::vector<QPointer<QAbstractButton>> buttons, last;
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        if (qobject_cast<QCheckBox*>(b)) continue;
        (leaving.count(b->text()) ? last : buttons).emplace_back(b);
    }
    buttons.insert(buttons.end(), last.begin(), last.end());
    for (const QPointer<QAbstractButton>& b : buttons) {
        if (!w || !w->isVisible()) return;
        if (b && b->isVisible() && b->isEnabled()) b->click();
    }
}

// Every window of the program, opened as its button or rule opens it, over lists with rows.
TEST_F(RightsWalkTest, EveryWindowDrivenByAUserChangesNothing)
{
    shell::registerProgramWindows();
    // A window some button opened without the interface (it should not exist) is closed again.
    QTimer stray;
    QWidget* current = nullptr;
    QObject::connect(&stray, &QTimer::timeout, [&current] {
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && current && modal != current) modal->close();
    });
    stray.start(100);
    int walked = 0;
    for (const std::string& caption : widgets::registeredCaptions()) {
        // The print previews and the report designer write only their layout files and would start
        // printers.
        if (caption.find("打印") != std::string::npos || caption == "报表设置") continue;
        SCOPED_TRACE(caption);
        int module = 1;
        for (int m = 1; m <= 13; ++m)
            if (const app::ModuleInfo* info = app::findModule(m); info && info->recordWindow == caption) module = m;
        openLists(module);
        ui.clear();
        current = nullptr;
        // Owned here, so that a window which never opened leaves no drive behind for the next test.
        QTimer drive;
        drive.setSingleShot(true);
        QObject::connect(&drive, &QTimer::timeout, [&current, &walked] {
            current = QApplication::activeModalWidget();
            if (!current) return;
            ++walked;
            poke(current);
            if (QPointer<QWidget> w(current); w && w->isVisible()) w->close();
            current = nullptr;
        });
        drive.start(0);
        widgets::openRegisteredWindow(caption, nullptr);
        EXPECT_EQ(contents(dm.DMADO), before);
    }
    // Most windows open; those that refuse before opening (maintenance, the rights window) or need
    // a page of the main window (queries, the salary card, the bank file) are walked elsewhere.
    EXPECT_GT(walked, 30);
}

// The salary card as module 11 opens it: the amounts are read-only, typing and "next" store nothing.
TEST_F(RightsWalkTest, SalaryCardShowsAmountsReadOnly)
{
    openLists(11);
    payroll::SalaryView view(dm.DMADO, dm.gzb);
    view.build(set);
    view.open();
    payroll::Tgzeditw card(dm, view);
    card.show();
    int boxes = 0;
    for (QLineEdit* e : card.findChildren<QLineEdit*>()) {
        EXPECT_TRUE(e->isReadOnly()) << e->objectName().toStdString();
        QTest::keyClicks(e, QStringLiteral("9"));
        ++boxes;
    }
    EXPECT_GT(boxes, 0);
    card.findChild<QPushButton*>(QStringLiteral("next"))->click();
    EXPECT_EQ(contents(dm.DMADO), before);
}

// The employee window: every field read-only, so typing and 后一条记录 store nothing.
TEST_F(RightsWalkTest, EmployeeFieldsAreReadOnlyAndMovingStoresNothing)
{
    openLists(1);
    personnel::Trszlw w(dm);
    w.show();
    auto* name = w.findChild<QLineEdit*>(QStringLiteral("姓名"));
    ASSERT_NE(name, nullptr);
    EXPECT_TRUE(name->isReadOnly());
    const QString shown = name->text();
    QTest::keyClicks(name, QStringLiteral("9"));
    EXPECT_EQ(name->text(), shown);
    w.findChild<QToolButton*>(QStringLiteral("后一条记录"))->click();
    EXPECT_EQ(dm.rszl.state(), DataSet::State::Browse);
    EXPECT_EQ(contents(dm.DMADO), before);
}

}  // namespace
