// Piece-rate and time-rate amounts, and the salary card's per-row editability.
#include <gtest/gtest.h>

#include <QDateTime>

#include "app/Interaction.h"
#include "app/ModuleLists.h"
#include "app/Rights.h"
#include "app/TDM.h"
#include "db/DbError.h"
#include "payroll/SalaryCard.h"
#include "payroll/SalaryView.h"
#include "payroll/WorkListForm.h"
#include "payroll/WorkLists.h"
#include "support/RecordRules.h"
#include "support/ScriptedInteraction.h"
#include "support/TestDatabase.h"

using namespace rsgz;
using db::Money;
using db::Value;

namespace {

Money m(const char* text)
{
    Money out;
    EXPECT_TRUE(Money::parse(text, &out)) << text;
    return out;
}

// A data module over the test's live database, with the record rules bound as at start.
void openLive(app::TDM& dm, const test::TestDatabase& db)
{
    dm.setProgramDir(db.programDir());
    dm.DMADO.setPath(dm.livePath());
    test::bindRecordRules(dm);
}

// The work lists as their windows use them: amounts computed, the insert rule bound, one employee
// to pick and the operators' rights read.
void openWorkLists(app::TDM& dm, const test::TestDatabase& db)
{
    openLive(dm, db);
    payroll::bindWorkListAmounts(dm);
    payroll::bindWorkListInsert(dm);
    dm.DMADO.exec("insert into 员工基本情况 (员工编号, 姓名) values ('E01', '张三')");
    dm.zh.setSql("select * from 权限");
    dm.zh.open();
}

TEST(WorkLists, ProductsRoundHalfToEven)
{
    struct Case {
        const char* rate;
        double quantity;
        const char* expected;
    };
    const Case cases[] = {
        {"1.2345", 2.5, "3.0862"},  // 3.08625: the even neighbour below
        {"1.2345", 0.3, "0.3704"},  // 0.37035: the even neighbour above
        {"1.2335", 2.5, "3.0838"},  // 3.08375: above
        {"-1.2345", 2.5, "-3.0862"},
        {"10", 8, "80"},
    };
    for (const Case& c : cases) EXPECT_EQ(payroll::workAmount(Value(m(c.rate)), Value(c.quantity)), m(c.expected)) << c.rate;
    EXPECT_EQ(payroll::workAmount(Value(), Value(3.0)), Money());
}

TEST(WorkLists, TimeAmountsWithEmptyBonus)
{
    payroll::TimeAmounts t = payroll::timeAmounts(Value(m("10")), Value(8.0), Value(m("15")), Value(2.0), Value(m("50")));
    EXPECT_EQ(t.amount, m("80"));
    EXPECT_EQ(t.overtime, m("30"));
    EXPECT_EQ(t.gross, m("160"));
    t = payroll::timeAmounts(Value(m("10")), Value(8.0), Value(), Value(2.0), Value());
    EXPECT_EQ(t.gross, m("80"));
}

TEST(WorkLists, ListsShowAmountsButNeverOfferThemAsColumns)
{
    test::TestDatabase db;
    app::TDM dm;
    openLive(dm, db);
    payroll::bindWorkListAmounts(dm);
    dm.DMADO.exec("insert into 计件工资 (姓名, 员工编号1, 工序单价, 完成数量) values ('张三', 'E01', 1.2345, 2.5)");
    app::ModuleLists lists(dm);
    lists.open(13);
    EXPECT_EQ(dm.jjgz.asMoney("金额"), m("3.0862"));
    for (int module : {12, 13}) {
        lists.open(module);
        const auto& sort = lists.fieldLists(module).sort;
        EXPECT_EQ(std::find(sort.begin(), sort.end(), "金额"), sort.end()) << module;
        EXPECT_NE(std::find(sort.begin(), sort.end(), "完成数量"), sort.end()) << module;
    }
}

// Both work-list windows: a new row takes the picked employee and today, a missing number is named,
// 取消 discards the typing, and nothing changes without the list's right.
TEST(WorkListForm, AddSaveCancelAndTheRight)
{
    test::TestDatabase db;
    test::ScriptedInteraction ui;
    app::TDM dm;
    dm.now = [] { return QDateTime(QDate(2024, 3, 5), QTime(9, 0)); };
    openWorkLists(dm, db);
    ASSERT_FALSE(dm.zh.isEmpty());
    app::ModuleLists lists(dm);

    struct Case {
        int module;
        const payroll::WorkListKind& kind;
        const char* missingNumber;
    };
    const Case cases[] = {{13, payroll::pieceWork(), "员工编号1不能为空！"}, {12, payroll::timeWork(), "员工编号不能为空！"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind.caption);
        lists.open(c.module);
        payroll::WorkListForm form(dm, c.kind);
        db::DataSet& ds = form.list();
        ASSERT_TRUE(form.mayChange());
        EXPECT_FALSE(form.editable("金额"));
        EXPECT_TRUE(form.editable("备注"));

        ui.onWindow("选择姓名", [&dm] {
            dm.s4.close();
            dm.s4.setSql("select * from 员工基本情况");
            dm.s4.open();
            dm.PickResult = 1;
        });
        form.add();
        EXPECT_EQ(ds.asString("姓名"), "张三");
        EXPECT_EQ(ds.asString(c.kind.numberField), "E01");
        EXPECT_EQ(ds.asString("日期"), "2024-03-05");
        form.save();
        EXPECT_EQ(ds.recordCount(), 1);

        // The picker cancelled: the row waits for the operator, who forgets the number.
        ui.windowActions.clear();
        form.add();
        EXPECT_EQ(ds.asString("姓名"), "");
        ds.setValue("姓名", Value("李四"));
        EXPECT_THROW(form.save(), db::Abort);
        EXPECT_EQ(ui.messages.back(), c.missingNumber);
        form.cancel();
        EXPECT_FALSE(ds.isEditing());
        EXPECT_EQ(ds.recordCount(), 1);

        // 取消 on a stored row brings back what was stored and deletes nothing.
        ds.edit();
        ds.setValue("备注", Value("改了"));
        form.cancel();
        EXPECT_EQ(ds.asString("备注"), "");
        EXPECT_EQ(ds.recordCount(), 1);
    }

    dm.DMADO.exec("update 权限 set 计件工资=0");
    dm.zh.close();
    dm.zh.open();
    payroll::WorkListForm piece(dm, payroll::pieceWork());
    lists.open(13);
    EXPECT_FALSE(piece.editable("备注"));
    piece.add();
    EXPECT_FALSE(piece.list().isEditing());
}

// Closing a work-list window: a new row nobody touched goes without a question, also one the page
// began before the window opened; a changed one is asked about and kept or dropped by the answer.
// An empty list is the window's cue to begin a row, and Enter walks the fields round.
TEST(WorkListForm, ClosingSettlesTheNewRowAndEnterWrapsRound)
{
    test::TestDatabase db;
    test::ScriptedInteraction ui;
    app::TDM dm;
    openWorkLists(dm, db);
    ui.onWindow("选择姓名", [&dm] {
        dm.s4.close();
        dm.s4.setSql("select * from 员工基本情况");
        dm.s4.open();
        dm.PickResult = 1;
    });
    app::ModuleLists lists(dm);
    lists.open(13);
    db::DataSet& ds = dm.jjgz;

    payroll::WorkListForm(dm, payroll::pieceWork()).add();  // the page's 增加
    {
        payroll::WorkListForm opened(dm, payroll::pieceWork());
        EXPECT_FALSE(opened.beginsRow());
        EXPECT_TRUE(opened.close());
        EXPECT_FALSE(ds.isEditing());
    }
    payroll::WorkListForm form(dm, payroll::pieceWork());
    EXPECT_TRUE(form.beginsRow());
    struct Case {
        bool save;
        int rowsAfter;
    };
    for (const Case c : {Case{false, 0}, Case{true, 1}}) {
        SCOPED_TRACE(c.save);
        form.add();
        EXPECT_TRUE(form.close());  // untouched
        EXPECT_TRUE(ui.questions.empty());
        form.add();
        ds.setValue("备注", Value("加急"));
        ui.answer(c.save);
        EXPECT_TRUE(form.close());
        EXPECT_EQ(ui.questions, std::vector<std::string>{"数据已修改，是否保存？"});
        EXPECT_FALSE(ds.isEditing());
        EXPECT_EQ(ds.recordCount(), c.rowsAfter);
        ui.questions.clear();
    }
    EXPECT_FALSE(form.beginsRow());

    EXPECT_EQ(form.enter("日期"), "生产单号");
    EXPECT_EQ(form.enter("备注"), "日期");
    EXPECT_EQ(payroll::WorkListForm(dm, payroll::timeWork()).enter("备注"), "日期");

    dm.DMADO.exec("delete from 计件工资");
    dm.DMADO.exec("update 权限 set 计件工资=0");
    dm.zh.close();
    dm.zh.open();
    ds.requery();
    ASSERT_TRUE(ds.isEmpty());
    EXPECT_FALSE(form.beginsRow());
}

// The card asks about the row current at the moment: moving from an open row to a closed one
// makes its amounts read-only, and the post rule refuses a change made behind the card's back.
TEST(SalaryCard, EditabilityFollowsTheCurrentRow)
{
    test::TestDatabase db;
    test::ScriptedInteraction ui;
    app::TDM dm;
    openLive(dm, db);
    payroll::bindClosedRowRule(dm);
    dm.zh.setSql("select * from 权限");  // the default operator, who holds 工资表管理
    dm.zh.open();
    dm.DMADO.exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
    dm.DMADO.exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联) values "
                  "('01', 'gz01', '基本工资', '', '否', 0, ''), ('01', 'gz02', '加班', 'gz01/2', '否', 0, ''), "
                  "('01', 'gz03', '个税', '', '是', 1600, '基本工资'), ('01', 'gz04', '实发', 'gz01-gz03', '否', 0, '')");
    dm.DMADO.exec("insert into 工资表 (姓名, 员工编号, 工资帐套, 年, 月, 结帐状态, gz01) values "
                  "('甲', 'E1', '管理', '2024', '03', '否', 2000), ('乙', 'E2', '管理', '2024', '03', '是', 3000)");
    payroll::SalaryView view(dm.DMADO, dm.gzb);
    view.build("管理");
    view.filter().sortField = "员工编号";
    view.open();
    payroll::SalaryCard card(dm, view);
    EXPECT_EQ(card.captionOf("gz01"), "基本工资");

    struct Case {
        const char* field;
        bool onOpenRow;
    };
    const Case cases[] = {{"gz01", true}, {"出勤天数", true}, {"备注", true}, {"gz02", false},
                          {"gz03", false}, {"gz04", false},   {"姓名", false}, {"结帐状态", false}};
    dm.gzb.first();
    for (const Case& c : cases) EXPECT_EQ(card.editable(c.field), c.onOpenRow) << c.field;
    dm.gzb.next();
    ASSERT_TRUE(card.rowClosed());
    for (const Case& c : cases) EXPECT_FALSE(card.editable(c.field)) << c.field;
    EXPECT_FALSE(card.canDelete());

    dm.gzb.edit();
    dm.gzb.setValue("gz01", Value(m("9999")));
    EXPECT_THROW(dm.gzb.post(), db::Abort);
    EXPECT_EQ(ui.messages.back(), "该工资记录已结帐，不能修改！");
    dm.gzb.cancel();
    dm.gzb.edit();
    dm.gzb.setValue("签名", Value("乙"));  // not an amount: allowed
    EXPECT_NO_THROW(dm.gzb.post());
}

}  // namespace
