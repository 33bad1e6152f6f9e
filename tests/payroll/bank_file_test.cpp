// The bank disbursement file: the stored layout, the record of a salary row and the written file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <string>

#include "app/TDM.h"
#include "db/Gbk.h"
#include "payroll/BankFile.h"
#include "payroll/BankFileForm.h"
#include "payroll/BankLayout.h"
#include "payroll/BankLayoutForm.h"
#include "payroll/BankRecord.h"
#include "payroll/SalaryView.h"
#include "support/ScriptedInteraction.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/TestDatabase.h"

using namespace rsgz;
using db::Money;
using payroll::BankLayout;
using payroll::BankPart;

namespace {

Money m(const char* text)
{
    Money out;
    EXPECT_TRUE(Money::parse(text, &out)) << text;
    return out;
}

std::string readAll(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return "<missing>";
    return f.readAll().toStdString();
}

void writeAll(const std::string& path, const std::string& bytes)
{
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

BankPart column(const char* content, int width = 0, const char* pad = "", const char* side = payroll::kPadFront)
{
    BankPart p;
    p.content = content;
    p.fixedWidth = width > 0;
    if (width > 0) p.width = width;
    p.padText = pad;
    p.padSide = width > 0 ? side : "";
    return p;
}

// Set 管理: gz01 基本工资 entered, gz02 个税 on 基本工资 above 100000 (so 0 here), gz03 实发 =
// gz01-gz02, the net pay computed by the view. Employee 123 has the card 5678.
class BankFileTest : public test::OnBothEngines {
protected:
    BankFileTest()
    {
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理')");
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联) values "
             "('01', 'gz01', '基本工资', '', '否', 0, ''), ('01', 'gz02', '个税', '', '是', 100000, '基本工资'), "
             "('01', 'gz03', '实发工资', 'gz01-gz02', '否', 0, '')");
        exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 1000000, 5, 0)");
        exec("insert into 员工基本情况 (员工编号, 姓名, 银行卡号) values ('123', '张三', '5678')");
    }

    void exec(const std::string& sql) { dm.DMADO.exec(sql); }
    void addRow(const char* no, const char* name, const char* basic, const char* month = "03", const char* note = "")
    {
        exec(std::string("insert into 工资表 (姓名, 员工编号, 工资帐套, 年, 月, 结帐状态, gz01, 出勤天数, 备注) values ('") +
             name + "', '" + no + "', '管理', '2024', '" + month + "', '否', " + basic + ", 22, '" + note + "')");
    }
    void openView(const char* month = "03")
    {
        view.build("管理");
        view.filter().nodes.clear();
        if (month) view.filter().nodes = {{"月", month}, {"年", "2024"}};
        view.open();
        dm.gzb.first();
    }
    // The usual bank layout: employee number in 8 bytes padded with 0 in front, the card as it comes,
    // the net pay ×100 in 10 bytes padded with 0 in front.
    BankLayout exampleLayout()
    {
        BankLayout l;
        l.parts[0] = column("员工编号", 8, "0");
        l.parts[1] = column("银行卡号");
        l.parts[2] = column("实发工资", 10, "0");
        l.parts[2].times100 = true;
        return l;
    }
    payroll::BankRecord record(const BankLayout& layout, int row = 0)
    {
        payroll::BankCards cards(dm.DMADO);
        return payroll::BankRecordBuilder(layout, view, dm.gzb, cards).build(row);
    }
    void saveLayout(const BankLayout& layout)
    {
        payroll::BankLayoutStore store(dm.DMADO, dm.dfgz_set);
        store.open("管理");
        store.save("管理", layout);
    }
    int layoutRows() { return static_cast<int>(dm.DMADO.exec("update 代发工资格式 set 记录数=记录数 where 工资帐套='管理'")); }

    test::ProgramLayout program{{.liveDatabase = true, .engine = engine()}};
    app::TDM& dm = program.dm();
    payroll::SalaryView view{dm.DMADO, dm.gzb};
    test::ScriptedInteraction user;
    test::TempDir out;
};

TEST_P(BankFileTest, FirstOpeningCreatesTheDefaultLayoutAndSavedSettingsReadBack)
{
    addRow("123", "张三", "2345.6");
    openView();
    payroll::BankLayoutForm form(dm, &view);
    ASSERT_TRUE(form.open());
    EXPECT_FALSE(form.repaired());
    EXPECT_EQ(layoutRows(), 8);
    EXPECT_EQ(form.layout, BankLayout());
    EXPECT_EQ(form.preview().record, ",,");  // three empty parts
    EXPECT_EQ(form.contents.back(), "其他");
    EXPECT_EQ(form.contents[form.contents.size() - 2], "银行卡号");
    EXPECT_NE(std::find(form.contents.begin(), form.contents.end(), "实发工资"), form.contents.end());

    form.layout = exampleLayout();
    form.layout.partsUsed = 5;
    form.layout.separator = "其他";
    form.layout.otherSeparator = "##";
    form.layout.parts[6].fixedText = "不写出";
    form.save();
    payroll::BankLayoutForm again(dm, &view);
    ASSERT_TRUE(again.open());
    EXPECT_EQ(again.layout, form.layout);
    EXPECT_EQ(layoutRows(), 8);
}

TEST_P(BankFileTest, RecordOfTheExampleAndTheFileWritten)
{
    addRow("123", "张三", "2345.6");
    addRow("999", "李四", "100");  // no employee record: an empty card part
    openView();
    EXPECT_EQ(record(exampleLayout(), 0).text, "00000123,5678,0000234560");
    EXPECT_EQ(record(exampleLayout(), 1).text, "00000999,,0000010000");

    saveLayout(exampleLayout());
    payroll::BankFileForm form(dm, &view);
    form.activate();
    EXPECT_EQ(form.set, "管理");
    form.fileName = out.file("df.txt");
    ASSERT_TRUE(form.generate());
    EXPECT_EQ(readAll(form.fileName), "00000123,5678,0000234560\r\n00000999,,0000010000\r\n");
    EXPECT_TRUE(user.questions.empty());
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_NE(user.messages[0].find("2 条记录，金额合计 2445.60 元"), std::string::npos) << user.messages[0];

    // The dialog: an existing file is taken only when the operator says 是; a name without a
    // type gets ".txt".
    const std::string written = form.fileName;
    user.fileNames = {written, written, out.file("新文件")};
    user.answer(false);
    user.answer(true);
    form.fileName = "before.txt";
    form.chooseFile();
    EXPECT_EQ(form.fileName, "before.txt");
    form.chooseFile();
    EXPECT_EQ(form.fileName, written);
    form.chooseFile();
    EXPECT_EQ(form.fileName, out.file("新文件.txt"));
    EXPECT_EQ(user.questions, std::vector<std::string>(2, "文件已经存在，要覆盖吗?"));
}

TEST_P(BankFileTest, AmountsInFenAreExactAndRoundedHalfAwayFromZero)
{
    struct Case {
        const char* amount;
        int64_t fen;
        bool rounded;
    };
    const Case cases[] = {
        {"5000.15", 500015, false}, {"8888.88", 888888, false}, {"1200", 120000, false},
        {"0.01", 1, false},         {"1600.0095", 160001, true}, {"1600.0049", 160000, true},
        {"-0.005", -1, true},       {"-2.0049", -200, true},
    };
    for (const Case& c : cases) {
        bool rounded = false;
        EXPECT_EQ(payroll::toFen(m(c.amount), &rounded), c.fen) << c.amount;
        EXPECT_EQ(rounded, c.rounded) << c.amount;
    }

    // Through a record: ×100 on a money column, without ×100 the amount in yuan, and ×100 on
    // 出勤天数 (not money) changes nothing.
    addRow("123", "张三", "5000.15");
    addRow("124", "王五", "8888.8850");
    openView();
    BankLayout l;
    l.parts[0] = column("实发工资");
    l.parts[0].times100 = true;
    l.parts[1] = column("基本工资");
    l.parts[2] = column("出勤天数");
    l.parts[2].times100 = true;
    EXPECT_EQ(record(l, 0).text, "500015,5000.15,22");
    const payroll::BankRecord r = record(l, 1);
    EXPECT_EQ(r.text, "888889,8888.89,22");
    EXPECT_EQ(r.rounded, 1);  // the stored amount; the net pay is computed to the fen already
    EXPECT_EQ(r.amount, m("8888.89"));
}

TEST_P(BankFileTest, FixedWidthCountsGbkBytesAndNeverCutsOrOverfills)
{
    addRow("123", "张三丰", "1");
    addRow("1234567890", "€", "1");
    openView();
    BankLayout l;
    l.parts[0] = column("姓名", 10, " ", payroll::kPadBack);
    l.parts[1] = column("员工编号", 8, "0");
    l.parts[2] = column("姓名", 9, "〇");  // a padding of two bytes into an odd gap
    const payroll::BankRecord a = record(l, 0);
    EXPECT_EQ(a.text, "张三丰    ,00000123,〇张三丰");
    EXPECT_EQ(a.gbk.size(), 10u + 1 + 8 + 1 + 8);
    ASSERT_EQ(a.problems.size(), 1u);
    EXPECT_NE(a.problems[0].find("不能恰好补足"), std::string::npos);

    // Ten bytes in a width of eight stay ten bytes, and the preview says so; the euro sign is one
    // byte in GBK.
    const payroll::BankRecord b = record(l, 1);
    EXPECT_EQ(b.text, "€         ,1234567890,〇〇〇〇€");
    EXPECT_EQ(b.gbk.size(), 10u + 1 + 10 + 1 + 9);
    ASSERT_EQ(b.problems.size(), 1u);
    EXPECT_NE(b.problems[0].find("超过固定宽度 8"), std::string::npos);
}

TEST_P(BankFileTest, SeparatorsAndLineBreaksInValuesAreAskedAboutBeforeWriting)
{
    addRow("123", "张三", "1", "03", "补发,上月");
    addRow("124", "李四", "1", "03", "第一行\n第二行");
    openView();
    BankLayout l;
    l.parts[0] = column("员工编号");
    l.parts[1] = column("备注");
    l.parts[2] = column("已删除的项目");
    saveLayout(l);

    payroll::BankLayoutForm preview(dm, &view);
    ASSERT_TRUE(preview.open());
    const auto p = preview.preview();
    EXPECT_EQ(p.record, "123,补发,上月,");
    ASSERT_EQ(p.problems.size(), 2u);
    EXPECT_NE(p.problems[0].find("第3部分“已删除的项目”不是当前工资表的列"), std::string::npos) << p.problems[0];
    EXPECT_NE(p.problems[1].find("含有分隔符"), std::string::npos) << p.problems[1];

    payroll::BankFileForm form(dm, &view);
    form.activate();
    form.fileName = out.file("df.txt");
    EXPECT_FALSE(form.generate());  // the question is answered 否
    ASSERT_EQ(user.questions.size(), 1u);
    for (const char* said : {"已删除的项目", "员工“张三”（编号 123）：第2部分“备注”含有分隔符", "员工“李四”（编号 124）：第2部分“备注”含有换行符"})
        EXPECT_NE(user.questions[0].find(said), std::string::npos) << said;
    EXPECT_EQ(readAll(form.fileName), "<missing>");
}

TEST_P(BankFileTest, ACharacterGbkCannotHoldStopsTheWriteAndLeavesTheOldFile)
{
    addRow("123", "张三", "1");
    addRow("124", "王𠮷", "1");
    openView();
    BankLayout l;
    l.parts[0] = column("员工编号");
    l.parts[1] = column("姓名");
    l.parts[2] = column("实发工资");
    saveLayout(l);
    EXPECT_EQ(record(l, 1).gbk, "");

    payroll::BankFileForm form(dm, &view);
    form.activate();
    form.fileName = out.file("df.txt");
    writeAll(form.fileName, "old");
    EXPECT_FALSE(form.generate());
    ASSERT_EQ(user.messages.size(), 1u);
    for (const char* said : {"员工“王𠮷”（编号 124）", "第2部分“姓名”", "字符“𠮷”", "没有生成"})
        EXPECT_NE(user.messages[0].find(said), std::string::npos) << said << " in " << user.messages[0];
    EXPECT_EQ(readAll(form.fileName), "old");

    // A file that cannot be created is an error, and nothing is left behind.
    const std::string nowhere = out.file("没有的文件夹/df.txt");
    EXPECT_THROW(payroll::writeBankFile(nowhere, "x\r\n"), std::runtime_error);
    EXPECT_EQ(readAll(nowhere), "<missing>");
}

// A full disk is named as such, with the file; the old file stays. The full disk is a small
// memory file system, which only an administrator may mount.
TEST(BankFileWrite, AFullDiskSaysSoNamingTheFile)
{
    test::TempDir out;
    const test::SmallDisk small(out.file("小盘"));
    if (!small.mounted()) GTEST_SKIP() << "cannot mount a small disk here";
    const std::string& disk = small.path();
    const std::string target = disk + "/df.txt";
    writeAll(target, "old");
    try {
        payroll::writeBankFile(target, std::string(200 * 1024, '1'));
        ADD_FAILURE() << "a file larger than the disk was written";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "磁盘空间不足，无法写入代发文件“" + target + "”。");
    }
    EXPECT_EQ(readAll(target), "old");
    EXPECT_EQ(QDir(QString::fromStdString(disk)).entryList(QDir::Files), QStringList{"df.txt"});
}

TEST_P(BankFileTest, AViewOfEveryMonthIsAskedAboutNamingMonthsRowsAndTotal)
{
    addRow("123", "张三", "1000.5", "02");
    addRow("123", "张三", "2000", "03");
    openView(nullptr);
    saveLayout(exampleLayout());
    payroll::BankFileForm form(dm, &view);
    form.activate();
    form.fileName = out.file("df.txt");
    EXPECT_FALSE(form.generate());
    ASSERT_EQ(user.questions.size(), 1u);
    EXPECT_NE(user.questions[0].find("2024年02月、2024年03月共 2 条记录，金额合计 3000.50 元"), std::string::npos)
        << user.questions[0];
    EXPECT_EQ(readAll(form.fileName), "<missing>");

    user.answer(true);
    EXPECT_TRUE(form.generate());
    EXPECT_EQ(readAll(form.fileName), "00000123,5678,0000100050\r\n00000123,5678,0000200000\r\n");
}

// A stored fixed width no settings window can make would pad every record to gigabytes: the
// layout is damaged, and no file is written.
TEST_P(BankFileTest, AFixedWidthBeyondItsRangeIsDamageNotPadding)
{
    addRow("123", "张三", "2345.6");
    saveLayout(exampleLayout());
    exec("update 代发工资格式 set 固定宽度 = 2000000000 where 工资帐套 = '管理' and 部分序号 = '3'");
    openView();
    payroll::BankFileForm form(dm, &view);
    form.activate();
    form.fileName = out.file("df.txt");
    EXPECT_FALSE(form.generate());
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_NE(user.messages[0].find("代发格式已经损坏：第3部分的固定宽度 2000000000 不在 0 到 999 之间"), std::string::npos)
        << user.messages[0];
    EXPECT_EQ(readAll(form.fileName), "<missing>");

    payroll::BankLayoutStore store(dm.DMADO, dm.dfgz_set);
    EXPECT_EQ(store.open("管理").parts[2].width, 999) << "the settings window shows the nearest width it can hold";
}

TEST_P(BankFileTest, ALayoutWithoutExactlyEightRowsIsRepairedNotWiped)
{
    // Part 1 twice, part 3, a part "9" and parts 2, 4 … 8 missing; the kept rows join five parts with "|".
    auto row = [&](const char* part, const char* content) {
        exec(std::string("insert into 代发工资格式 (工资帐套, 部分序号, 记录数, 分隔符, 内容, 宽度, 固定宽度, 乘100) values "
                         "('管理', '") + part + "', 5, '|', '" + content + "', '固定宽度', 12, true)");
    };
    row("1", "员工编号");
    row("3", "实发工资");
    row("1", "姓名");
    row("9", "备注");
    exec("insert into 代发工资格式 (工资帐套, 部分序号, 内容) values ('其他帐套', '1', '姓名')");

    addRow("123", "张三", "1");
    openView();
    payroll::BankLayoutForm form(dm, &view);
    ASSERT_TRUE(form.open());
    EXPECT_TRUE(form.repaired());
    EXPECT_EQ(layoutRows(), 8);
    EXPECT_EQ(static_cast<int>(dm.DMADO.exec("update 代发工资格式 set 记录数=记录数 where 工资帐套='其他帐套'")), 1);
    EXPECT_EQ(form.layout.partsUsed, 5);
    EXPECT_EQ(form.layout.separator, "|");
    EXPECT_EQ(form.layout.parts[0].content, "员工编号");  // the first row of part 1
    EXPECT_EQ(form.layout.parts[2].content, "实发工资");
    EXPECT_TRUE(form.layout.parts[2].fixedWidth && form.layout.parts[2].times100);
    EXPECT_EQ(form.layout.parts[1], BankPart());
    EXPECT_EQ(form.layout.parts[7], BankPart());

    payroll::BankLayoutForm again(dm, &view);
    ASSERT_TRUE(again.open());
    EXPECT_FALSE(again.repaired());
    EXPECT_EQ(again.layout, form.layout);
}

}  // namespace

RSGZ_ON_BOTH_ENGINES(BankFileTest);
