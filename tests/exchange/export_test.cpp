#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>

#include "ExchangeFixtures.h"
#include "exchange/ExcelExport.h"
#include "exchange/ExportColumns.h"
#include "payroll/BankFile.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"

using namespace rsgz;
using exchange::ExportColumns;

namespace {

class Export : public test::OnBothEngines {
protected:
    Export()
    {
        tdm.CurrentModule = 1;
        tdm.DMADO.exec("insert into 员工基本情况 (员工编号, 姓名, 出生年月, 身高, 体重, 备注) values "
                       "('007', '张三', '1985-03-12', 1.75, 70, '=1+1'), ('E02', '李四', null, null, null, null)");
        tdm.rszl.setSql("select * from 员工基本情况 order by 员工编号 desc");
        tdm.rszl.open();
    }

    test::ScriptedInteraction ui;
    test::ProgramLayout program{{.liveDatabase = true, .recordRules = true, .engine = engine()}};
    app::TDM& tdm = program.dm();
    test::TempDir out;
};

// The workbook holds the heading and the list's rows in its order, every cell as text: a number
// with leading zeros and a value that looks like a formula arrive as they were typed.
TEST_P(Export, WorkbookReadsBackAsTheListShowsIt)
{
    ui.fileNames.push_back(out.file("名单"));  // the suffix is added
    // The notice comes only after the writing has ended and its progress window has closed.
    std::vector<std::string> heard;
    exchange::exportEmployees(tdm, {"员工编号", "姓名", "出生年月", "身高", "体重", "备注", "年龄"}, {},
                              [&] { heard = ui.messages; });
    EXPECT_TRUE(heard.empty());
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"导出完成：共 2 条记录，已写入文件“" + out.file("名单.xlsx") + "”。"}));
    EXPECT_EQ(ui.fileFilters, (std::vector<std::string>{"Microsoft Excel 文件 (*.xlsx)"}));

    auto file = exchange::openSourceFile(out.file("名单.xlsx"));
    const exchange::SourceTable t = file->read(file->tables().at(0));
    EXPECT_EQ(t.columns, (std::vector<std::string>{"员工编号", "姓名", "出生年月", "身高", "体重", "备注", "年龄"}));
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(test::cellTexts(t)[0], (std::vector<std::string>{"E02", "李四", "", "", "", "", "0"}));
    EXPECT_EQ(test::cellTexts(t)[1][0], "007");
    EXPECT_EQ(test::cellTexts(t)[1][2], "1985-03-12");
    EXPECT_EQ(test::cellTexts(t)[1][3], "1.75");
    EXPECT_EQ(test::cellTexts(t)[1][5], "=1+1");
    for (const auto& row : t.rows)
        for (const auto& v : row) EXPECT_TRUE(v.isNull() || v.kind() == db::Value::Kind::Text) << v.toString();
}

// A failure half way leaves the file that was there untouched and no temporary file behind.
TEST_P(Export, AFailedWriteLeavesTheOldFile)
{
    const std::string path = out.file("old.xlsx");
    exchange::writeTextWorkbook(path, {"甲"}, 1, [](int, std::vector<std::string>& c) { c[0] = "旧"; });
    EXPECT_THROW(exchange::writeTextWorkbook(path, {"甲"}, 10,
                                             [](int row, std::vector<std::string>& c) {
                                                 if (row == 5) throw exchange::ExportError("磁盘已满");
                                                 c[0] = "新";
                                             }),
                 exchange::ExportError);
    EXPECT_EQ(test::cellTexts(exchange::openSourceFile(path)->read("Sheet1")),
              (std::vector<std::vector<std::string>>{{"旧"}}));
    EXPECT_EQ(QDir(QString::fromStdString(out.path())).entryList(QDir::Files), QStringList{"old.xlsx"});

    // A folder that does not exist: the notice, no file.
    ui.fileNames.push_back(out.file("无此目录/x.xlsx"));
    exchange::exportEmployees(tdm, {"姓名"});
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("不能正确操作Excel文件。可能是该文件已被其他程序打开,或系统错误。", 0), 0u);
}

// The workbook and the bank file get the permissions of any new file of the user's, not those of a
// private temporary.
TEST_P(Export, FilesForOthersHaveTheUsualPermissions)
{
    for (const mode_t mask : {mode_t{022}, mode_t{027}}) {
        const mode_t old = ::umask(mask);
        const std::string workbook = out.file("m" + std::to_string(mask) + ".xlsx");
        const std::string bank = out.file("m" + std::to_string(mask) + ".txt");
        exchange::writeTextWorkbook(workbook, {"甲"}, 1, [](int, std::vector<std::string>& c) { c[0] = "1"; });
        payroll::writeBankFile(bank, "6222020200001234567,100.00\r\n");
        ::umask(old);
        for (const std::string& path : {workbook, bank}) {
            struct stat st {};
            ASSERT_EQ(::stat(path.c_str(), &st), 0);
            EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask) << path;
        }
    }
}

// A full disk is said in plain words and names the user's file, not the zip library's sentence.
TEST_P(Export, AFullDiskIsSaid)
{
    try {
        exchange::writeWorkbookFile("/dev/full", "/home/人事/名单.xlsx", {"甲"}, 3000,
                                    [](int, std::vector<std::string>& c) { c[0] = "一个不太短的值，好让文件写满"; });
        FAIL() << "no error";
    } catch (const exchange::ExportError& e) {
        EXPECT_TRUE(e.diskFull());
        EXPECT_STREQ(e.what(), "磁盘空间不足，不能写入文件“/home/人事/名单.xlsx”。");
    }
}

// What killed exports left in the folder goes when the next export there starts: only files of
// the program's own pattern, and not one that a running export holds.
TEST_P(Export, StaleTemporariesGoWhenTheNextExportStarts)
{
    const QStringList stale = {"名单.xlsx.Ab12Cd", "其他.XLSX.zz9900"};
    const QStringList kept = {"名单.xlsx", "名单.xlsx.bak", "名单.xlsx.Ab12C", "名单.xlsx.Ab-2Cd", "notes.txt.abcdef", "held.xlsx.Qw12Er"};
    for (const QString& name : stale + kept) {
        QFile f(QDir(QString::fromStdString(out.path())).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    const int held = ::open(out.file("held.xlsx.Qw12Er").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    exchange::writeTextWorkbook(out.file("名单.xlsx"), {"甲"}, 0, [](int, std::vector<std::string>&) {});
    ::close(held);
    QStringList left = QDir(QString::fromStdString(out.path())).entryList(QDir::Files);
    QStringList want = kept;
    left.sort();
    want.sort();
    EXPECT_EQ(left, want);
}

TEST_P(Export, NothingIsExportedOffThePersonnelPageOrWithoutColumns)
{
    tdm.CurrentModule = 2;
    exchange::exportEmployees(tdm, {"姓名"});
    tdm.CurrentModule = 1;
    exchange::exportEmployees(tdm, {});
    EXPECT_TRUE(ui.fileFilters.empty());
}

TEST_P(Export, ColumnChooser)
{
    ExportColumns c(ExportColumns::employeeColumns(tdm));
    EXPECT_EQ(std::count(c.offered().begin(), c.offered().end(), "序号"), 0);
    EXPECT_EQ(std::count(c.offered().begin(), c.offered().end(), "编号"), 0);
    EXPECT_EQ(c.offered().front(), "员工编号");
    c.add(1);
    c.add(0);
    c.add(1);  // once only
    EXPECT_EQ(c.chosen(), (std::vector<std::string>{"姓名", "员工编号"}));
    c.add(-1);
    c.remove(-1);
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"请在左边列表中选择一个字段！", "请在右边的列表中选择一个字段！"}));
    c.remove(0);
    EXPECT_EQ(c.chosen(), (std::vector<std::string>{"员工编号"}));
    c.addAll();
    EXPECT_EQ(c.chosen(), c.offered());
    c.removeAll();
    EXPECT_TRUE(c.chosen().empty());
}

}  // namespace

RSGZ_ON_BOTH_ENGINES(Export);
