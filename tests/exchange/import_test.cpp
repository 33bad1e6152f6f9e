#include <gtest/gtest.h>

#include <QFile>

#include "ExchangeFixtures.h"
#include "app/rules/RecordRules.h"
#include "db/DbError.h"
#include "exchange/ImportSession.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"

using namespace rsgz;
using exchange::ImportSession;
using exchange::SourceTable;
using test::TableSource;

namespace {

db::Value T(const char* s) { return db::Value(s); }

class Import : public test::OnBothEngines {
protected:
    Import()
    {
        tdm.now = [] { return QDateTime(QDate(2024, 5, 17), QTime(10, 30)); };
        tdm.CurrentModule = 1;
        tdm.DMADO.exec("insert into 员工基本情况 (员工编号, 姓名) values ('E01', '张三')");
        tdm.rszl.open();
    }

    std::unique_ptr<ImportSession> session(SourceTable t, ImportSession::Kind kind = ImportSession::Kind::Excel)
    {
        auto s = std::make_unique<ImportSession>(tdm, std::make_unique<TableSource>(std::move(t)), kind);
        s->chooseTable("名单");
        return s;
    }

    // The number of the standard item with this name, as the window shows it.
    std::string itemNumber(const ImportSession& s, const std::string& name)
    {
        const auto& items = s.standardItems();
        return std::to_string(std::find(items.begin(), items.end(), name) - items.begin() + 1);
    }

    int employees() { return program.count("员工基本情况"); }

    test::ScriptedInteraction ui;
    test::ProgramLayout program{{.liveDatabase = true, .recordRules = true, .engine = engine()}};
    app::TDM& tdm = program.dm();
};

TEST_P(Import, SourceColumnsNamedLikeItemsArePremapped)
{
    auto excel = session({{"姓名", "电话号码", "员工编号", "email"}, {}});
    EXPECT_EQ(excel->boxes(), (std::vector<std::string>{itemNumber(*excel, "姓名"), "0", itemNumber(*excel, "员工编号"),
                                                        itemNumber(*excel, "EMAIL")}));
    // The Excel window leaves out the row number, the Access window offers every column.
    auto access = session({{"姓名"}, {}}, ImportSession::Kind::Access);
    EXPECT_EQ(access->standardItems().size(), excel->standardItems().size() + 1);
    EXPECT_NE(std::find(access->standardItems().begin(), access->standardItems().end(), "序号"), access->standardItems().end());
}

// The workbook's rows become employees: numbers as plain text, dates as dates, the record rules'
// defaults for what the file does not give, an empty cell empty.
TEST_P(Import, WorkbookRowsBecomeEmployees)
{
    auto s = std::make_unique<ImportSession>(tdm, exchange::openSourceFile(test::dataFile("employees.xlsx")),
                                             ImportSession::Kind::Excel);
    s->chooseTable("人员名单");
    std::vector<std::string> status;
    s->progress = [&](const std::string& text) { status.push_back(text); };
    EXPECT_EQ(s->importRows(), 3);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"共完成3条数据导入完成"}));
    EXPECT_EQ(status.back(), "已经完成导入数据：3条");
    EXPECT_EQ(employees(), 4);

    ASSERT_TRUE(tdm.rszl.locate("员工编号", T("A002")));
    EXPECT_EQ(tdm.rszl.asString("姓名"), "李四");
    EXPECT_EQ(tdm.rszl.asString("出生年月"), "1990-11-02");
    EXPECT_EQ(tdm.rszl.asString("手机"), "13912345678");
    EXPECT_DOUBLE_EQ(tdm.rszl.asDouble("身高"), 1.6);
    EXPECT_EQ(tdm.rszl.asInt("体重"), 52);
    EXPECT_TRUE(tdm.rszl.isNull("备注"));
    EXPECT_EQ(tdm.rszl.asString("在职状况"), "在职");
    EXPECT_EQ(tdm.rszl.asString("修改日期"), "2024-05-17");
    tdm.rszl.requery();  // what was written, not only what the list holds
    ASSERT_TRUE(tdm.rszl.locate("员工编号", T("A003")));
    EXPECT_EQ(tdm.rszl.asString("备注"), "技术骨干");
}

// One bad value, a number repeated in the file and one already stored: nothing is written, and
// the notice names each row and column.
TEST_P(Import, ABadRowInTheMiddleImportsNothing)
{
    auto s = session({{"员工编号", "姓名", "生日", "体重"},
                      {{T("A1"), T("甲"), T("1990-01-02"), T("60")},
                       {T("A2"), T("乙"), T("1990-13-45"), T("61")},
                       {T("a1"), T("丙"), db::Value(), db::Value(62.5)},
                       {T("e01"), T("丁"), db::Value(), db::Value()},
                       {T("A5"), db::Value(), db::Value(), db::Value()}}});
    s->setBox(2, itemNumber(*s, "出生年月"));
    s->setBox(3, itemNumber(*s, "体重"));
    EXPECT_EQ(s->importRows(), 0);
    EXPECT_EQ(employees(), 1);
    EXPECT_EQ(tdm.rszl.recordCount(), 1);
    ASSERT_EQ(ui.messages.size(), 1u);
    const std::string& notice = ui.messages[0];
    for (const char* says : {"没有导入任何数据", "第 3 行“生日”列：“1990-13-45”不是有效的日期（字段“出生年月”）",
                             "第 4 行“体重”列：“62.5”不是有效的整数", "第 4 行：员工编号“a1”与第 2 行重复",
                             "第 5 行：员工编号“e01”已经有员工使用", "第 6 行：姓名不能为空"})
        EXPECT_NE(notice.find(says), std::string::npos) << says << "\n" << notice;
}

TEST_P(Import, MappingIsCheckedBeforeAnything)
{
    struct Case {
        std::vector<std::string> boxes;  // for 员工编号, 姓名, 年纪
        const char* says;
    };
    const Case cases[] = {
        {{"0", "0", "0"}, "导入数据项目没有填写对应号码！\n在对应号中填入左边的数据库标准项目中的项目名称前面的序号"},
        {{"1", "2", "abc"}, "“年纪”列：对应号“abc”不是 0 到"},
        {{"1", "2", "999"}, "“年纪”列：对应号“999”不是 0 到"},
        {{"1", "2", "年龄"}, "“年纪”列：对应号“年龄”不是"},
        {{"1", "0", "0"}, "没有导入项目对应“姓名”，姓名不能为空"},
    };
    for (const Case& c : cases) {
        auto s = session({{"员工编号", "姓名", "年纪"}, {{T("B1"), T("乙"), T("30")}}});
        for (size_t i = 0; i < c.boxes.size(); ++i) s->setBox(i, c.boxes[i]);
        ui.clear();
        EXPECT_EQ(s->importRows(), 0);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_NE(ui.messages[0].find(c.says), std::string::npos) << ui.messages[0];
    }
    // A computed item cannot be kept, so it is refused rather than dropped.
    auto s = session({{"员工编号", "姓名", "年纪"}, {{T("B1"), T("乙"), T("30")}}});
    s->setBox(2, itemNumber(*s, "年龄"));
    ui.clear();
    EXPECT_EQ(s->importRows(), 0);
    EXPECT_NE(ui.messages.at(0).find("对应的项目“年龄”是计算或自动生成的"), std::string::npos) << ui.messages[0];
    EXPECT_EQ(employees(), 1);

    ImportSession none(tdm, std::make_unique<TableSource>(SourceTable{}), ImportSession::Kind::Excel);
    ui.clear();
    EXPECT_EQ(none.importRows(), 0);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"请先选择表文件！"}));
}

// After an import the status bar counts the rows the list holds, on the last row imported; the
// next run's status line never carries on the last run's count.
TEST_P(Import, StatusTellsOfThisRunOnly)
{
    std::vector<std::string> listStatus, status;
    tdm.rszl.setStatusSink([&](const std::string& text) { listStatus.push_back(text); });
    auto s = session({{"员工编号", "姓名"}, {{T("F1"), T("甲")}, {T("F2"), T("乙")}}});
    s->progress = [&](const std::string& text) { status.push_back(text); };
    EXPECT_EQ(s->importRows(), 2);
    EXPECT_EQ(listStatus.back(), "3/3");
    EXPECT_EQ(tdm.rszl.asString("员工编号"), "F2");
    EXPECT_EQ(status.back(), "已经完成导入数据：2条");

    // The same rows again are refused (their numbers are taken): nothing is said to be imported.
    ui.clear();
    EXPECT_EQ(s->importRows(), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("已经有员工使用"), std::string::npos);
    EXPECT_EQ(status.back(), "");
    EXPECT_EQ(listStatus.back(), "3/3");
}

// A disk that fills while the rows are written: the words say so and name the database file, and
// nothing is kept. The engine's size limit stands in for the disk.
TEST_P(Import, AFullDiskImportsNothingAndSaysSo)
{
    if (onServer()) GTEST_SKIP() << "the database file's disk: a server keeps its own";
    SourceTable t{{"员工编号", "姓名", "备注"}, {}};
    for (int i = 0; i < 2000; ++i) t.rows.push_back({T(("G" + std::to_string(i)).c_str()), T("甲"), T(std::string(50, 'x').c_str())});
    auto s = session(std::move(t));
    tdm.DMADO.prepareNative("pragma max_page_count = 1").step();  // no page beyond those there are
    EXPECT_EQ(s->importRows(), 0);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"磁盘空间不足，不能写入数据库文件“" + tdm.DMADO.path() + "”，没有导入任何数据。"}));
    tdm.DMADO.prepareNative("pragma max_page_count = 1073741823").step();
    EXPECT_EQ(employees(), 1);
    EXPECT_EQ(tdm.rszl.recordCount(), 1);
}

// A record rule that refuses a row while the rows are written takes back the rows before it.
TEST_P(Import, ARuleRefusingARowTakesBackTheWholeImport)
{
    app::appendRule(tdm.rszl.rules().beforePost, [](db::DataSet& d) {
        if (d.asString("员工编号") == "C3") db::abortSilently();
    });
    auto s = session({{"员工编号", "姓名"},
                      {{T("C1"), T("甲")}, {T("C2"), T("乙")}, {T("C3"), T("丙")}, {T("C4"), T("丁")}}});
    EXPECT_EQ(s->importRows(), 0);
    EXPECT_EQ(employees(), 1);
    EXPECT_EQ(tdm.rszl.recordCount(), 1);
    EXPECT_FALSE(tdm.rszl.batchMode());

    auto empty = session({{"员工编号", "姓名"}, {}});
    ui.clear();
    EXPECT_EQ(empty->importRows(), 0);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"共完成0条数据导入完成"}));
}

// Two source columns given the same item: the later one's value is kept.
TEST_P(Import, TheLaterOfTwoColumnsForOneItemWins)
{
    auto s = session({{"员工编号", "姓名", "别名"}, {{T("D1"), T("甲"), T("乙")}}});
    s->setBox(2, itemNumber(*s, "姓名"));
    EXPECT_EQ(s->importRows(), 1);
    ASSERT_TRUE(tdm.rszl.locate("员工编号", T("D1")));
    EXPECT_EQ(tdm.rszl.asString("姓名"), "乙");
}

}  // namespace

namespace {

// The menu entries ask for a file only on the personnel page; a file that cannot be read is told
// and opens no window.
TEST_P(Import, MenuEntryAsksForAReadableFile)
{
    tdm.CurrentModule = 2;
    EXPECT_EQ(exchange::chooseImportFile(tdm, ImportSession::Kind::Excel), nullptr);
    EXPECT_TRUE(ui.fileFilters.empty());

    tdm.CurrentModule = 1;
    test::TempDir dir;
    ui.fileNames = {dir.file("missing.xls"), test::dataFile("employees.xls")};
    EXPECT_EQ(exchange::chooseImportFile(tdm, ImportSession::Kind::Excel), nullptr);
    EXPECT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(exchange::chooseImportFile(tdm, ImportSession::Kind::Excel), nullptr);
    EXPECT_EQ(ui.fileFilters.at(0), "Microsoft Excel 数据文件 (*.xls *.xlsx);;逗号分隔的文本文件 (*.csv)");

    // A file of no bytes is said to be empty, whatever its kind; a damaged one names the file.
    for (const char* name : {"empty.xlsx", "empty.xls", "empty.csv", "empty.mdb"}) {
        QFile(QString::fromStdString(dir.file(name))).open(QIODevice::WriteOnly);
        ui.fileNames = {dir.file(name)};
        ui.errors.clear();
        EXPECT_EQ(exchange::chooseImportFile(tdm, ImportSession::Kind::Excel), nullptr);
        EXPECT_EQ(ui.errors, (std::vector<std::string>{"文件是空的：" + dir.file(name)}));
    }
    QFile damaged(QString::fromStdString(dir.file("damaged.xls")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, '\x01'));
    damaged.close();
    ui.fileNames = {dir.file("damaged.xls")};
    ui.errors.clear();
    EXPECT_EQ(exchange::chooseImportFile(tdm, ImportSession::Kind::Excel), nullptr);
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_EQ(ui.errors[0].rfind("文件已损坏或不是受支持的格式：" + dir.file("damaged.xls"), 0), 0u) << ui.errors[0];
}

// A sheet with nothing in it has no columns to map: that is said, not a mapping problem.
TEST_P(Import, AnEmptySheetIsSaidToBeEmpty)
{
    auto s = session({});
    EXPECT_EQ(s->importRows(), 0);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"数据表“名单”是空的，没有可以导入的数据。"}));
}

}  // namespace

RSGZ_ON_BOTH_ENGINES(Import);
