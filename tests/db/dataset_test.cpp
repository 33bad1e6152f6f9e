#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Interaction.h"
#include "db/Connection.h"
#include "db/DataSet.h"
#include "support/EngineFixture.h"

using namespace rsgz::db;
using rsgz::app::runAction;

namespace {

// Keeps what reaches the standard error box.
class ErrorBox : public rsgz::app::Interaction {
public:
    ErrorBox() { rsgz::app::setInteraction(this); }
    ~ErrorBox() override { rsgz::app::setInteraction(nullptr); }
    void showMessage(const std::string&) override {}
    bool ask(const std::string&) override { return false; }
    void showError(const std::string& text) override { errors.push_back(text); }
    std::string openFileName(const std::string&, const std::string&) override { return {}; }
    std::string saveFileName(const std::string&, const std::string&) override { return {}; }
    void openWindow(rsgz::app::WindowId) override {}
    bool openUrl(const std::string&) override { return false; }
    std::vector<std::string> errors;
};

class DataSetTest : public rsgz::test::BothEngines {
protected:
    void SetUp() override
    {
        BothEngines::SetUp();
        if (IsSkipped()) return;
        database().createContents();
        database().useIn(conn_);
        for (const char* row : {"('E01', '张三', '男', 170.5, 60, '2001-05-01')", "('E02', '李四', '女', 160, 50, null)",
                                "('E03', 'OBrien', '男', null, null, '1999-12-31')"})
            conn_.exec(std::string("insert into 员工基本情况 (员工编号, 姓名, 性别, 身高, 体重, 出生年月) values ") + row);
    }

    // First column of the first row, as text ("<null>" for a null).
    std::string single(const std::string& sql)
    {
        Statement st = conn_.prepareNative(sql);
        if (!st.step()) return "<no row>";
        return st.text(0).value_or("<null>");
    }

    // The engine's own words for a second employee number, as the standard error box shows them.
    static bool saysDuplicateNumber(const std::string& text)
    {
        if (GetParam() == rsgz::test::Engine::File) return text == "UNIQUE constraint failed: 员工基本情况.员工编号";
        return text.starts_with("duplicate key value violates unique constraint");
    }

    // Every row of a statement as one text (EngineFixture.h).
    std::string rows(const std::string& sql) { return rsgz::test::rowsText(conn_, sql); }

    DataSet& openEmployees(const std::string& sql = "select * from 员工基本情况 order by 员工编号")
    {
        ds_.setSql(sql);
        ds_.open();
        return ds_;
    }

    Connection conn_;
    DataSet ds_{&conn_, "rszl"};
};
RSGZ_ON_BOTH_ENGINES(DataSetTest);

TEST_P(DataSetTest, CursorWalksRowsWithRecNoBofEofAndStatusText)
{
    std::vector<std::string> status;
    ds_.setStatusSink([&](const std::string& s) { status.push_back(s); });
    DataSet& ds = openEmployees();
    EXPECT_EQ(ds.state(), DataSet::State::Browse);
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.recNo(), 1);
    EXPECT_TRUE(ds.bof());
    EXPECT_FALSE(ds.eof());
    std::vector<std::string> seen;
    for (ds.first(); !ds.eof(); ds.next()) seen.push_back(ds.asString("员工编号"));
    EXPECT_EQ(seen, (std::vector<std::string>{"E01", "E02", "E03"}));
    EXPECT_EQ(ds.recNo(), 3);
    ds.prior();
    EXPECT_EQ(ds.asString("姓名"), "李四");
    EXPECT_FALSE(ds.eof());
    ds.last();
    EXPECT_TRUE(ds.eof());
    EXPECT_TRUE(ds.locate("姓名", Value("obrien")));
    EXPECT_FALSE(ds.locate("姓名", Value("obrien"), false));
    EXPECT_TRUE(ds.locate("姓名", Value("李"), true, true));
    EXPECT_EQ(ds.asString("员工编号"), "E02");
    EXPECT_FALSE(ds.locate("员工编号", Value("E99")));
    EXPECT_EQ(ds.statusText(), "2/3");
        // open, first, next, next, prior, last, locate (the first locate finds the current row: no move)
    EXPECT_EQ(status, (std::vector<std::string>{"1/3", "1/3", "2/3", "3/3", "2/3", "3/3", "2/3"}));

    ds.setSql("select * from 员工基本情况 where 1 = 0");
    ds.open();
    EXPECT_TRUE(ds.bof() && ds.eof());
    EXPECT_EQ(ds.statusText(), "-1/0");
    EXPECT_EQ(status.back(), "-1/0");
    EXPECT_TRUE(ds.value("姓名").isNull());
}

TEST_P(DataSetTest, InsertEditCancelAndMovingOffPostsFirst)
{
    DataSet& ds = openEmployees();
    ds.setRowNumberField(true);
    ds.open();
    ds.next();
    ds.insert();  // before the current row
    EXPECT_EQ(ds.state(), DataSet::State::Insert);
    EXPECT_EQ(ds.recNo(), -1);
    EXPECT_EQ(ds.statusText(), "-1/3");
    EXPECT_EQ(ds.asInt("序号"), -1);
    ds.cancel();
    EXPECT_EQ(ds.asString("员工编号"), "E02") << "cancel returns to the row that was current";
    EXPECT_EQ(ds.recordCount(), 3);

    ds.append();
    ds.setValue("员工编号", Value("E04"));
    ds.setValue("姓名", Value("王五"));
    ds.first();  // leaving the new row writes it
    EXPECT_EQ(ds.state(), DataSet::State::Browse);
    EXPECT_EQ(single("select 姓名 from 员工基本情况 where 员工编号 = 'E04'"), "王五");
    ds.last();
    EXPECT_EQ(ds.asInt("序号"), 4);
    EXPECT_GT(ds.asInt("编号"), 3) << "the new row carries the key the database gave it";

    ds.edit();
    ds.setValue("姓名", Value("王六"));
    ds.cancel();
    EXPECT_EQ(ds.asString("姓名"), "王五");
    ds.edit();
    ds.setValue("姓名", Value("王六"));
    ds.prior();
    EXPECT_EQ(single("select 姓名 from 员工基本情况 where 员工编号 = 'E04'"), "王六");
    // Re-reading is a move too: what was typed is written, not dropped.
    ds.edit();
    ds.setValue("姓名", Value("王七"));
    ds.requery();
    EXPECT_EQ(single("select 姓名 from 员工基本情况 where 员工编号 = 'E03'"), "王七");
    EXPECT_EQ(ds.asString("姓名"), "王七");

    ds.setSql("select * from 员工基本情况 where 1 = 0");
    ds.open();
    ds.edit();  // nothing to edit: a new row
    EXPECT_EQ(ds.state(), DataSet::State::Insert);
}

TEST_P(DataSetTest, ValuesAreCheckedAgainstTheColumnType)
{
    DataSet& ds = openEmployees();
    ds.edit();
    EXPECT_THROW(ds.setValue("性别", Value("男性员工")), DataSetError) << "text(2) takes two characters";
    EXPECT_THROW(ds.setValue("体重", Value("六十")), DataSetError);
    EXPECT_THROW(ds.setValue("出生年月", Value("2001-02-30")), DataSetError);
    EXPECT_THROW(ds.setValue("编号", Value(99)), DataSetError);
    EXPECT_THROW(ds.setValue("没有这个字段", Value(1)), DataSetError);
    ds.setValue("性别", Value("女"));
    ds.setValue("体重", Value(" 61 "));
    ds.setValue("身高", Value(""));
    ds.setValue("出生年月", Value("2001-2-3"));
    ds.post();
    EXPECT_EQ(rows("select 性别, 体重, 身高, 出生年月 from 员工基本情况 where 员工编号 = 'E01'"), "女612001-02-03");
}

TEST_P(DataSetTest, ColumnsCarryTheirLogicalTypesThroughJoinsAndExpressions)
{
    conn_.exec("insert into 奖惩情况 (员工编号1, 奖惩内容, 奖惩日期, 奖惩备注) values ('E01', '先进', '2008-01-02', '年度')");
    DataSet& ds = openEmployees(
        "select a.员工编号, a.身高, a.体重, a.出生年月, a.编号, b.奖惩日期, b.奖惩备注, b.编号 as 记录号, "
        "a.姓名 || a.性别 as 称呼, a.身高 * 2 as 倍高\r\nfrom 员工基本情况 a, 奖惩情况 b where a.员工编号 = b.员工编号1");
    struct Expect {
        const char* field;
        FieldType type;
        int size;
    };
    const Expect expected[] = {
        {"员工编号", FieldType::Text, 16}, {"身高", FieldType::Double, 0},   {"体重", FieldType::Integer, 0},
        {"出生年月", FieldType::DateTime, 0}, {"编号", FieldType::AutoInc, 0}, {"奖惩日期", FieldType::DateTime, 0},
        {"奖惩备注", FieldType::Memo, 0},    {"记录号", FieldType::AutoInc, 0}, {"称呼", FieldType::Text, 0},
        {"倍高", FieldType::Double, 0},
    };
    ASSERT_EQ(ds.recordCount(), 1);
    for (const Expect& e : expected) {
        const Field& f = ds.fieldByName(e.field);
        EXPECT_EQ(f.type, e.type) << e.field;
        EXPECT_EQ(f.size, e.size) << e.field;
        EXPECT_TRUE(f.readOnly) << e.field;
    }
    EXPECT_DOUBLE_EQ(ds.asDouble("倍高"), 341);

    conn_.exec("insert into 工资表 (姓名, gz01, gz02) values ('张三', 100, 3), ('李四', 2.5, 1.2345)");
    ds.setSql("select count(*) as 人数, sum(gz01) as 合计, max(姓名), avg(gz02), sum(gz01) / sum(gz02) as 商 from 工资表 where gz02 = 3");
    ds.open();
    EXPECT_EQ(ds.field(0).type, FieldType::Integer);
    EXPECT_EQ(ds.field(1).type, FieldType::Currency);
    EXPECT_EQ(ds.field(2).type, FieldType::Text);
    EXPECT_EQ(ds.field(2).size, 20);
    EXPECT_EQ(ds.field(3).type, FieldType::Currency);
    EXPECT_EQ(ds.asMoney("合计").units(), 1000000);
    EXPECT_NEAR(ds.asDouble("商"), 33.3333333, 1e-6) << "amounts are stored as floating values";

    // Even over no rows an aggregate keeps its type.
    ds.setSql("select sum(gz01) as 合计 from 工资表 where 1 = 0");
    ds.open();
    EXPECT_EQ(ds.field(0).type, FieldType::Currency);
}

TEST_P(DataSetTest, MoneyColumnsHoldFourDecimals)
{
    DataSet ds(&conn_, "gzb", {"select 姓名, gz01, gz02 from 工资表"});
    ds.open();
    ds.append();
    ds.setValue("姓名", Value("张三"));
    ds.setValue("gz01", Value("1,234.56785"));  // more decimals than an amount holds: half to even
    ds.setValue("gz02", Value(Money::fromUnits(25000) * 1.2345));
    ds.post();
    EXPECT_EQ(ds.asMoney("gz01").units(), 12345678);
    EXPECT_EQ(ds.asMoney("gz02").toString(4), "3.0862");
    EXPECT_EQ(single("select gz02 from 工资表"), "3.0862");
    if (GetParam() == rsgz::test::Engine::File) EXPECT_EQ(single("select typeof(gz01) from 工资表"), "real");
    ds.open();
    EXPECT_EQ(ds.asMoney("gz01").units(), 12345678);
}

TEST_P(DataSetTest, QuotedNamesAreStoredAndFoundAsTyped)
{
    const std::string name = "O'Brien'); delete from 员工基本情况; --";
    DataSet& ds = openEmployees();
    ds.append();
    ds.setValue("员工编号", Value("E05"));
    ds.setValue("姓名", Value(name));
    ds.post();
    ds.setSql({"select * from 员工基本情况", "where 姓名 = " + sqlQuote(name)});
    ds.open();
    ASSERT_EQ(ds.recordCount(), 1);
    EXPECT_EQ(ds.asString("姓名"), name);
    openEmployees();
    EXPECT_EQ(ds.recordCount(), 4);
    EXPECT_TRUE(ds.locate("姓名", Value(name)));
    EXPECT_EQ(ds.asString("员工编号"), "E05");
    ds.setSql("select * from 员工基本情况 where 姓名 like " + sqlQuote("o'b%"));
    ds.open();
    EXPECT_EQ(ds.recordCount(), 1);
}

TEST_P(DataSetTest, TextComparisonIgnoresLatinCase)
{
    struct Case {
        const char* where;
        int count;
    };
    const Case cases[] = {
        {"姓名 = 'obrien'", 1}, {"姓名 <> 'OBRIEN'", 2}, {"姓名 like 'OB%'", 1}, {"员工编号 in ('e01', 'e02')", 2},
        {"姓名 = '张三'", 1},   {"姓名 = '张 三'", 0},
    };
    for (const Case& c : cases) {
        openEmployees(std::string("select * from 员工基本情况 where ") + c.where);
        EXPECT_EQ(ds_.recordCount(), c.count) << c.where;
    }
}

// A rule point that refuses, and what the dataset must look like afterwards.
TEST_P(DataSetTest, RefusalAtEachRulePointLeavesTheRowAsItWas)
{
    struct Case {
        const char* name;
        std::function<void(DataSetRules&)> refuse;
        std::function<void(DataSet&)> action;
        DataSet::State state;
        int records;
        const char* current;  // 员工编号 of the current row (or of the row being edited)
    };
    auto appendNumbered = [](DataSet& ds) {
        ds.append();
        ds.setValue("员工编号", Value("E09"));
        ds.post();
    };
    auto editNumber = [](DataSet& ds) {
        ds.edit();
        ds.setValue("员工编号", Value("E08"));
        ds.post();
    };
    const auto abort = [](DataSet&) { abortSilently(); };
    const Case cases[] = {
        {"before insert", [&](DataSetRules& r) { r.beforeInsert = abort; }, appendNumbered, DataSet::State::Browse, 3, "E02"},
        {"after insert", [&](DataSetRules& r) { r.afterInsert = abort; }, appendNumbered, DataSet::State::Browse, 3, "E02"},
        {"before post (insert)", [&](DataSetRules& r) { r.beforePost = abort; }, appendNumbered, DataSet::State::Insert, 3, "E09"},
        {"before post (edit)", [&](DataSetRules& r) { r.beforePost = abort; }, editNumber, DataSet::State::Edit, 3, "E08"},
        {"before delete", [&](DataSetRules& r) { r.beforeDelete = abort; }, [](DataSet& ds) { ds.remove(); },
         DataSet::State::Browse, 3, "E02"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DataSet ds(&conn_, "rszl", {"select * from 员工基本情况 order by 员工编号"});
        c.refuse(ds.rules());
        ds.open();
        ds.next();
        EXPECT_FALSE(runAction([&] { c.action(ds); }));
        EXPECT_EQ(ds.state(), c.state);
        EXPECT_EQ(ds.recordCount(), c.records);
        EXPECT_EQ(ds.asString("员工编号"), c.current);
        EXPECT_EQ(single("select count(*) from 员工基本情况"), "3");
        EXPECT_EQ(rows("select 员工编号 from 员工基本情况 order by 员工编号"), "E01,E02,E03");
    }
}

TEST_P(DataSetTest, RulePointsRunInOrderAndCalculateFillsComputedFields)
{
    std::vector<std::string> log;
    auto note = [&](const char* what) { return [&log, what](DataSet&) { log.push_back(what); }; };
    DataSetRules& r = ds_.rules();
    r.afterOpen = note("open");
    r.afterScroll = note("scroll");
    r.beforeInsert = note("before insert");
    r.afterInsert = [&](DataSet& ds) {
        log.push_back("after insert");
        ds.setValue("在职状况", Value("在职"));
    };
    r.beforePost = note("before post");
    r.afterPost = note("after post");
    r.beforeDelete = note("before delete");
    r.afterDelete = note("after delete");
    r.calculate = [](CalcRow& row) { row.set("称呼", Value(row.get("姓名").toString() + "同志")); };
    ds_.addCalcField("称呼", FieldType::Text, 20);
    DataSet& ds = openEmployees();
    ds.append();
    ds.setValue("员工编号", Value("E07"));
    ds.post();
    ds.remove();
    EXPECT_EQ(log, (std::vector<std::string>{"open", "scroll", "before insert", "after insert", "scroll", "before post",
                                             "after post", "before delete", "after delete", "scroll"}));
    EXPECT_EQ(single("select count(*) from 员工基本情况 where 员工编号 = 'E07'"), "0");
    ds.first();
    EXPECT_EQ(ds.asString("称呼"), "张三同志");
    EXPECT_TRUE(ds.fieldByName("称呼").calculated);
}

TEST_P(DataSetTest, DuplicateNumberOnPostKeepsTheRowInInsertModeUntilCorrected)
{
    ErrorBox box;
    DataSet& ds = openEmployees();
    ds.append();
    ds.setValue("员工编号", Value("e01"));  // the number exists, in other letter case
    ds.setValue("姓名", Value("赵七"));
    EXPECT_FALSE(runAction([&] { ds.next(); }));
    ASSERT_EQ(box.errors.size(), 1u);
    EXPECT_TRUE(saysDuplicateNumber(box.errors[0])) << box.errors[0];
    EXPECT_EQ(ds.state(), DataSet::State::Insert);
    EXPECT_EQ(ds.asString("姓名"), "赵七");
    EXPECT_EQ(ds.recordCount(), 3);

    ds.setValue("员工编号", Value("E06"));
    EXPECT_TRUE(runAction([&] { ds.post(); }));
    EXPECT_EQ(ds.state(), DataSet::State::Browse);
    EXPECT_EQ(ds.recordCount(), 4);
    EXPECT_EQ(single("select 姓名 from 员工基本情况 where 员工编号 = 'E06'"), "赵七");

    // The same for a change: the edit stays open with the typed value.
    ds.first();
    ds.edit();
    ds.setValue("员工编号", Value("E02"));
    EXPECT_FALSE(runAction([&] { ds.post(); }));
    EXPECT_EQ(ds.state(), DataSet::State::Edit);
    EXPECT_EQ(ds.asString("员工编号"), "E02");
    ds.cancel();
    EXPECT_EQ(ds.asString("员工编号"), "E01");
}

TEST_P(DataSetTest, WritesBackToItsOneTableByKeyAndNeverWritesExpressions)
{
    conn_.exec("insert into 员工基本情况 (员工编号, 姓名, 身高) values ('E04', '张三', 180)");
    DataSet& ds = openEmployees("select 姓名, 身高 * 2 as 双倍 from 员工基本情况 where 姓名 = '张三' order by 编号");
    ASSERT_EQ(ds.recordCount(), 2);
    EXPECT_FALSE(ds.readOnly());
    EXPECT_EQ(ds.baseTable(), "员工基本情况");
    EXPECT_TRUE(ds.fieldByName("双倍").readOnly);
    ds.last();
    ds.edit();
    EXPECT_THROW(ds.setValue("双倍", Value(1)), DataSetError);
    ds.setValue("姓名", Value("张四"));
    ds.post();
    EXPECT_EQ(rows("select 员工编号, 姓名, 身高 from 员工基本情况 order by 编号"), "E01张三170.5,E02李四160,E03OBrien,E04张四180");
    ds.first();
    ds.remove();
    EXPECT_EQ(rows("select 员工编号 from 员工基本情况 order by 编号"), "E02,E03,E04");
    EXPECT_EQ(ds.recordCount(), 1);
    EXPECT_EQ(ds.asString("姓名"), "张四");
}

TEST_P(DataSetTest, JoinedDistinctAndGroupedResultsAreReadOnly)
{
    for (const char* sql : {"select a.*, b.奖惩内容 from 员工基本情况 a, 奖惩情况 b where a.员工编号 = b.员工编号1",
                            "select distinct 性别 from 员工基本情况",
                            "select 性别, count(*) as 人数 from 员工基本情况 group by 性别"}) {
        SCOPED_TRACE(sql);
        DataSet& ds = openEmployees(sql);
        EXPECT_TRUE(ds.readOnly());
        EXPECT_THROW(ds.append(), DataSetError);
        if (ds.recordCount() > 0) {
            EXPECT_THROW(ds.edit(), DataSetError);
            EXPECT_THROW(ds.remove(), DataSetError);
        }
        EXPECT_EQ(ds.state(), DataSet::State::Browse);
    }
}

TEST_P(DataSetTest, BatchModeKeepsChangesPendingUntilApplied)
{
    DataSet& ds = openEmployees();
    ds.setBatchMode(true);
    ds.first();
    ds.edit();
    ds.setValue("姓名", Value("张三丰"));
    ds.next();
    ds.remove();  // E02
    ds.append();
    ds.setValue("员工编号", Value("E10"));
    ds.post();
    EXPECT_TRUE(ds.hasPendingUpdates());
    EXPECT_EQ(rows("select 员工编号, 姓名 from 员工基本情况 order by 编号"), "E01张三,E02李四,E03OBrien");

    // Re-opening discards what is pending.
    ds.open();
    EXPECT_FALSE(ds.hasPendingUpdates());
    EXPECT_EQ(ds.recordCount(), 3);

    ds.first();
    ds.edit();
    ds.setValue("姓名", Value("张三丰"));
    ds.next();
    ds.remove();
    ds.append();
    ds.setValue("员工编号", Value("E10"));
    ds.applyUpdates();  // posts the open row first
    EXPECT_FALSE(ds.hasPendingUpdates());
    EXPECT_EQ(rows("select 员工编号, 姓名 from 员工基本情况 order by 编号"), "E01张三丰,E03OBrien,E10");
    EXPECT_GT(ds.asInt("编号"), 0);

    // Closing discards too.
    ds.first();
    ds.remove();
    ds.close();
    EXPECT_EQ(single("select count(*) from 员工基本情况"), "3");
}

TEST_P(DataSetTest, FailedApplyWritesNothingAndKeepsEverythingPending)
{
    ErrorBox box;
    DataSet& ds = openEmployees();
    ds.setBatchMode(true);
    ds.first();
    ds.remove();  // E01
    ds.append();
    ds.setValue("员工编号", Value("E20"));
    ds.post();
    ds.append();
    ds.setValue("员工编号", Value("E02"));  // exists
    ds.post();
    EXPECT_FALSE(runAction([&] { ds.applyUpdates(); }));
    ASSERT_EQ(box.errors.size(), 1u);
    EXPECT_TRUE(saysDuplicateNumber(box.errors[0])) << box.errors[0];
    EXPECT_EQ(rows("select 员工编号 from 员工基本情况 order by 编号"), "E01,E02,E03");
    EXPECT_TRUE(ds.hasPendingUpdates());
    EXPECT_EQ(ds.recordCount(), 4);

    ds.last();
    ds.edit();
    ds.setValue("员工编号", Value("E21"));
    ds.applyUpdates();
    EXPECT_EQ(rows("select 员工编号 from 员工基本情况 order by 编号"), "E02,E03,E20,E21");
}

TEST_P(DataSetTest, OpenFailureKeepsTheRowsAndANonSelectIsNeverRun)
{
    // One statement the engine refuses at once, and two that fail only when their rows are worked
    // out (the condition overflows), with and without a sort.
    for (const char* bad : {"select * from 没有这个表",
                            "select * from 员工基本情况 where abs(编号 * 0 - 9223372036854775807 - 1) > 0",
                            "select * from 员工基本情况 where abs(编号 * 0 - 9223372036854775807 - 1) > 0 order by 姓名"}) {
        SCOPED_TRACE(bad);
        DataSet& ds = openEmployees();
        ds.next();
        ds.edit();
        ds.setValue("姓名", Value("李四四"));
        ds.setSql(bad);
        EXPECT_THROW(ds.open(), DbError);
        ASSERT_TRUE(ds.active());
        EXPECT_EQ(ds.recordCount(), 3);
        EXPECT_EQ(ds.state(), DataSet::State::Edit);
        EXPECT_EQ(ds.asString("员工编号"), "E02");
        EXPECT_EQ(ds.asString("姓名"), "李四四");
        ds.cancel();
    }

    DataSet& ds = openEmployees();

    ds.setSql("delete from 员工基本情况");
    EXPECT_THROW(ds.open(), DataSetError);
    EXPECT_EQ(single("select count(*) from 员工基本情况"), "3");
}

TEST_P(DataSetTest, ListenersHearChangesUnlessControlsAreDisabled)
{
    struct Counter : DataSetListener {
        int resets = 0, changed = 0, inserted = 0, removed = 0, current = 0;
        void dataSetReset(DataSet&) override { ++resets; }
        void rowChanged(DataSet&, int) override { ++changed; }
        void rowInserted(DataSet&, int) override { ++inserted; }
        void rowRemoved(DataSet&, int) override { ++removed; }
        void currentChanged(DataSet&) override { ++current; }
    } heard;
    DataSet& ds = openEmployees();
    ds.addListener(&heard);
    ds.append();
    ds.setValue("员工编号", Value("E11"));
    ds.post();
    ds.remove();
    EXPECT_EQ(heard.inserted, 1);
    EXPECT_GE(heard.changed, 2);
    EXPECT_EQ(heard.removed, 1);
    EXPECT_GE(heard.current, 3);

    heard = Counter{};
    ds.addListener(&heard);
    ds.disableControls();
    ds.disableControls();
    for (ds.first(); !ds.eof(); ds.next()) {
        ds.edit();
        ds.setValue("备注", Value("已核对"));
        ds.post();
    }
    ds.enableControls();
    EXPECT_EQ(heard.resets + heard.changed + heard.current, 0);
    ds.enableControls();
    EXPECT_EQ(heard.resets, 1);
    EXPECT_EQ(heard.changed, 0);
    EXPECT_EQ(single("select count(*) from 员工基本情况 where 备注 = '已核对'"), "3");
    ds.removeListener(&heard);
}

// A view still reads the row it is told is about to go (a grid moves its current cell off it).
TEST_P(DataSetTest, ARowAboutToBeRemovedCanStillBeReadInEitherMode)
{
    struct Reader : DataSetListener {
        std::vector<std::string> seen;
        void rowAboutToBeRemoved(DataSet& ds, int row) override
        {
            seen.push_back(ds.valueAt(row, ds.fieldIndex("员工编号")).toString());
        }
    };
    for (bool batch : {true, false}) {  // the batch removal is never applied: E02 is there for both
        SCOPED_TRACE(batch ? "batch" : "immediate");
        Reader reader;
        DataSet& ds = openEmployees();
        ds.setBatchMode(batch);
        ds.addListener(&reader);
        ds.next();
        ds.remove();
        ds.removeListener(&reader);
        EXPECT_EQ(reader.seen, std::vector<std::string>{"E02"});
        EXPECT_EQ(ds.asString("员工编号"), "E03");
        ds.setBatchMode(false);
    }
}

TEST_P(DataSetTest, ReopeningKeepsRowsApartAndWorksAcrossAReconnect)
{
    // A résumé longer than the blocks rows are kept in.
    const std::string resume(3 << 20, 'x');
    conn_.exec("update 员工基本情况 set 个人简历 = " + sqlQuote(resume) + " where 员工编号 = 'E02'");
    auto names = [](DataSet& ds) {
        std::string all;
        for (ds.first(); !ds.eof(); ds.next()) all += ds.asString("姓名") + ds.asString("个人简历").substr(0, 2) + ";";
        return all;
    };
    DataSet& ds = openEmployees();
    const std::string first = names(ds);
    EXPECT_EQ(first, "张三;李四xx;OBrien;");
    ds.setSql("select * from 员工基本情况 where 员工编号 <> 'E02' order by 员工编号 desc");
    ds.open();
    EXPECT_EQ(names(ds), "OBrien;张三;");
    conn_.close();
    openEmployees();
    EXPECT_EQ(names(ds), first);
    EXPECT_EQ(ds.asString("个人简历"), "");
    ds.prior();
    EXPECT_EQ(ds.asString("个人简历").size(), resume.size());

    ds.edit();
    for (const char* name : {"李四一", "李四二", "李四三"}) ds.setValue("姓名", Value(name));
    ds.post();
    conn_.close();
    ds.edit();
    ds.setValue("性别", Value("男"));
    ds.post();
    EXPECT_EQ(rows("select 姓名, 性别, length(个人简历) from 员工基本情况 where 员工编号 = 'E02'"),
              "李四三男" + std::to_string(resume.size()));
    EXPECT_EQ(ds.asString("姓名"), "李四三");
}

}  // namespace
