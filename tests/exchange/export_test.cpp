#include <gtest/gtest.h>

#include <QDir>

#include "ExchangeFixtures.h"
#include "exchange/ExcelExport.h"
#include "exchange/ExportColumns.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"

using namespace rsgz;
using exchange::ExportColumns;

namespace {

class Export : public ::testing::Test {
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
    test::ProgramLayout program{{.liveDatabase = true, .recordRules = true}};
    app::TDM& tdm = program.dm();
    test::TempDir out;
};

// The workbook holds the heading and the list's rows in its order, every cell as text: a number
// with leading zeros and a value that looks like a formula arrive as they were typed.
TEST_F(Export, WorkbookReadsBackAsTheListShowsIt)
{
    ui.fileNames.push_back(out.file("名单"));  // the suffix is added
    exchange::exportEmployees(tdm, {"员工编号", "姓名", "出生年月", "身高", "体重", "备注", "年龄"});
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.at(0);
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
TEST_F(Export, AFailedWriteLeavesTheOldFile)
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

TEST_F(Export, NothingIsExportedOffThePersonnelPageOrWithoutColumns)
{
    tdm.CurrentModule = 2;
    exchange::exportEmployees(tdm, {"姓名"});
    tdm.CurrentModule = 1;
    exchange::exportEmployees(tdm, {});
    EXPECT_TRUE(ui.fileFilters.empty());
}

TEST_F(Export, ColumnChooser)
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
