// The files of the wage-tax lists: the bases of a year read from a workbook, and the month's
// declaration written for the tax office's client.
#include <gtest/gtest.h>

#include <QFile>

#include "app/TDM.h"
#include "exchange/ExcelExport.h"
#include "exchange/SourceFile.h"
#include "payroll/BaseImport.h"
#include "payroll/DeclarationData.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"

using namespace rsgz;

namespace {

class TaxFilesTest : public ::testing::Test {
protected:
    TaxFilesTest()
    {
        exec("insert into 员工基本情况 (员工编号, 姓名, 身份证号) values ('E01', '张三', '11010519491231002X'), "
             "('E02', '李四', '320106198503020025'), ('E03', '王五', '')");
        exec("insert into 缴费基数 (员工编号1, 年度, 社保基数, 公积金基数) values ('E02', 2026, 5000, 5000)");
    }
    void exec(const std::string& sql) { dm.DMADO.exec(sql); }
    std::string workbook(const std::vector<std::string>& heading, const std::vector<std::vector<std::string>>& rows)
    {
        const std::string path = dir.file("基数.xlsx");
        exchange::writeTextWorkbook(path, heading, static_cast<int>(rows.size()),
                                    [&](int r, std::vector<std::string>& cells) { cells = rows[static_cast<size_t>(r)]; });
        return path;
    }

    test::ScriptedInteraction ui;
    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::TempDir dir;
};

// A blank base keeps what was stored; a new employee's row is added.
TEST_F(TaxFilesTest, BasesAreImportedAndABlankKeepsTheStoredBase)
{
    const auto r = payroll::importBases(dm, workbook({"员工编号", "姓名", "社保基数", "公积金基数"},
                                                     {{"E01", "张三", "8000.5", "10000"}, {"E02", "李四", "", "6000"}}),
                                        2026);
    EXPECT_TRUE(r.refused.empty()) << r.refused.front();
    EXPECT_EQ(r.written, 2);
    EXPECT_EQ(p.count("缴费基数 where 员工编号1='E01' and 年度=2026 and 社保基数=8000.5 and 公积金基数=10000"), 1);
    EXPECT_EQ(p.count("缴费基数 where 员工编号1='E02' and 年度=2026 and 社保基数=5000 and 公积金基数=6000"), 1);
}

// The whole file is checked first: every faulty row is named with its line, and nothing is written.
TEST_F(TaxFilesTest, FaultyRowsAreNamedAndNothingIsWritten)
{
    const auto r = payroll::importBases(dm, workbook({"员工编号", "年度", "社保基数", "公积金基数"},
                                                     {{"E01", "2026", "8000", "8000"},
                                                      {"E09", "2026", "1", "1"},
                                                      {"E02", "2026", "12,5", "1"},
                                                      {"E02", "二〇二六", "1", "1"},
                                                      {"E01", "2026", "-3", "1"},
                                                      {"E01", "2026.0", "7000", "7000"}}),
                                        2026);
    EXPECT_EQ(r.refused, (std::vector<std::string>{
                             "第3行：没有员工编号为“E09”的员工",
                             "第4行：社保基数“12,5”不是有效的金额",
                             "第5行：年度“二〇二六”不是1900到2999之间的年份",
                             "第6行：社保基数“-3”不是有效的金额",
                             "第7行：员工“E01”在第2行已经出现过",
                         }));
    EXPECT_EQ(r.written, 0);
    EXPECT_EQ(p.count("缴费基数"), 1);

    const auto noColumns = payroll::importBases(dm, workbook({"工号", "社保基数"}, {{"E01", "1"}}), 2026);
    EXPECT_EQ(noColumns.refused.size(), 1u);
}

// A file that is no workbook is told as such, through the button's path.
TEST_F(TaxFilesTest, ADamagedWorkbookIsToldAndNothingIsWritten)
{
    QFile f(QString::fromStdString(dir.file("坏.xlsx")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("PK\x03\x04 not really a zip");
    f.close();
    ui.fileNames.push_back(dir.file("坏.xlsx"));
    payroll::importBasesAsked(dm, 2026);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("不能读取文件：", 0), 0u) << ui.messages[0];
    EXPECT_EQ(p.count("缴费基数"), 1);
}

// The declaration of a month: refused while an employee paid that month has no sound number (the
// notice names him, no file is asked for), written once the number is there.
TEST_F(TaxFilesTest, DeclarationIsRefusedNamingEmployeesWithoutANumberThenWritten)
{
    exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
    exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 项目类别) values "
         "('01', 'gz01', '基本工资', '', '否', '收入')");
    exec("insert into 工资表 (员工编号, 姓名, 工资帐套, 年, 月, 结帐状态, gz01) values "
         "('E01', '张三', '管理', '2026', '03', '否', 9000), ('E03', '王五', '管理', '2026', '03', '否', 7000)");
    payroll::declareMonthAsked(dm, 2026, 3);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("E03 王五：没有身份证号"), std::string::npos) << ui.messages[0];
    EXPECT_EQ(ui.messages[0].find("张三"), std::string::npos);
    EXPECT_TRUE(ui.fileFilters.empty());

    exec("update 员工基本情况 set 身份证号='320106198503020017' where 员工编号='E03'");
    ui.fileNames.push_back(dir.file("2026年3月申报"));
    payroll::declareMonthAsked(dm, 2026, 3);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(ui.messages[1].find("正常工资薪金2人"), std::string::npos) << ui.messages[1];
    EXPECT_FALSE(ui.progressOpen);
    auto file = exchange::openSourceFile(dir.file("2026年3月申报.xlsx"));
    const exchange::SourceTable t = file->read("正常工资薪金所得");
    ASSERT_EQ(t.rows.size(), 2u);
    EXPECT_EQ(t.rows[1][0], db::Value("E03"));
    EXPECT_DOUBLE_EQ(t.rows[1][4].toDouble(), 7000);
}

}  // namespace
