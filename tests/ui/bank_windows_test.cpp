// The bank layout window and the bank file window as a user meets them. With RSGZ_SCREENSHOT_DIR
// set, the layout window is also saved there as a picture.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>

#include "app/TDM.h"
#include "payroll/BankLayout.h"
#include "payroll/SalaryView.h"
#include "payroll/windows/Tyhdfw.h"
#include "payroll/windows/Tyinhangsetw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"
#include "support/TempDir.h"
#include "shell/ProgramWindows.h"
#include "widgets/WindowRegistry.h"

namespace {

using namespace rsgz;

class BankWindowsTest : public ::testing::Test {
protected:
    BankWindowsTest()
    {
        QApplication::setFont(QFont(QStringLiteral("WenQuanYi Micro Hei"), 9));
        p.logIn("admin");
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理人员')");
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 计算公式, 是否所得税, 个税起征点, 个税关联) values "
             "('01', 'gz01', '基本工资', '', '否', 0, ''), ('01', 'gz02', '岗位工资', '', '否', 0, ''), "
             "('01', 'gz03', '应发合计', 'gz01+gz02', '否', 0, ''), ('01', 'gz04', '个人所得税', '', '是', 1600, '应发合计'), "
             "('01', 'gz05', '实发工资', 'gz03-gz04', '否', 0, '')");
        exec("insert into 所得税设置 (起始额, 结束额, 税率, 速扣) values (0, 500, 5, 0), (500, 2000, 10, 25), "
             "(2000, 5000, 15, 125)");
        exec("insert into 员工基本情况 (员工编号, 姓名, 银行卡号) values ('E01', '张三', '6222020200112233445'), "
             "('E02', '李四', '6228480012345678901')");
        exec("insert into 工资表 (姓名, 员工编号, 工资帐套, 年, 月, 结帐状态, gz01, gz02) values "
             "('张三', 'E01', '管理人员', '2024', '03', '否', 1800, 600.01), ('李四', 'E02', '管理人员', '2024', '03', '否', 2100, 600)");
        view.build("管理人员");
        view.filter().nodes = {{"月", "03"}, {"年", "2024"}};
        view.open();
        dm.gzb.first();
    }
    void exec(const std::string& sql) { dm.DMADO.exec(sql); }

    test::ProgramLayout p{{.liveDatabase = true}};
    app::TDM& dm = p.dm();
    payroll::SalaryView view{dm.DMADO, dm.gzb};
    test::ScriptedInteraction user;
};

template <class W>
W* child(QWidget& w, const char* name)
{
    W* c = w.findChild<W*>(QString::fromUtf8(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

TEST_F(BankWindowsTest, LayoutWindowPreviewsTheCurrentRowAndSavesTheParts)
{
    payroll::Tyinhangsetw w(dm, &view);
    ASSERT_TRUE(w.load());
    w.show();
    EXPECT_EQ(child<QLineEdit>(w, "previewRecord")->text(), QStringLiteral(",,"));
    EXPECT_FALSE(child<QLineEdit>(w, "otherSeparator")->isEnabled());

    // Part 1: the employee number in 8 bytes padded with 0; part 2 the card; part 3 the net pay ×100.
    auto* content1 = child<QComboBox>(w, "content1");
    EXPECT_TRUE(child<QLineEdit>(w, "fixedText1")->isEnabled());
    content1->setCurrentText(QStringLiteral("员工编号"));
    EXPECT_FALSE(child<QLineEdit>(w, "fixedText1")->isEnabled());
    child<QComboBox>(w, "widthMode1")->setCurrentText(QString::fromUtf8(payroll::kFixedWidth));
    EXPECT_TRUE(child<QSpinBox>(w, "width1")->isEnabled());
    child<QSpinBox>(w, "width1")->setValue(8);
    child<QComboBox>(w, "padSide1")->setCurrentText(QString::fromUtf8(payroll::kPadFront));
    child<QLineEdit>(w, "padText1")->setText(QStringLiteral("0"));
    child<QComboBox>(w, "content2")->setCurrentText(QString::fromUtf8(payroll::kBankCardContent));
    child<QComboBox>(w, "content3")->setCurrentText(QStringLiteral("实发工资"));
    child<QCheckBox>(w, "times100_3")->setChecked(true);
    child<QComboBox>(w, "separator")->setCurrentText(QStringLiteral("|"));
    // 1800 + 600.01 = 2400.01, 800.01 above 1600: tax 55.001 is 55.00, net 2345.01, paid as 234501 fen.
    EXPECT_EQ(child<QLineEdit>(w, "previewRecord")->text(), QStringLiteral("00000E01|6222020200112233445|234501"));
    QTest::qWait(400);  // the check of every row follows when the typing stops
    const QString notes = child<QPlainTextEdit>(w, "previewNotes")->toPlainText();
    EXPECT_TRUE(notes.contains(QStringLiteral("2 条记录，金额合计"))) << notes.toStdString();
    // The net pay is computed to the fen, so no amount paid needs rounding.
    EXPECT_FALSE(notes.contains(QStringLiteral("不是整分"))) << notes.toStdString();
    child<QTabWidget>(w, "partTabs")->setCurrentIndex(2);
    if (const QString dir = qEnvironmentVariable("RSGZ_SCREENSHOT_DIR"); !dir.isEmpty())
        w.grab().save(dir + QStringLiteral("/bank-layout-window.png"));

    child<QPushButton>(w, "确定")->click();
    EXPECT_TRUE(user.errors.empty());
    payroll::Tyinhangsetw again(dm, &view);
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.form().layout, w.form().layout);
    EXPECT_EQ(again.form().layout.parts[0].content, "员工编号");
}

TEST_F(BankWindowsTest, FileWindowWritesFromTheSalaryPageOnly)
{
    shell::registerProgramWindows();
    dm.CurrentModule = 1;
    ASSERT_TRUE(widgets::openRegisteredWindow("银行代发工资文件制作", nullptr));
    EXPECT_EQ(user.messages, std::vector<std::string>{"请先转到工资表管理窗口!"});

    test::TempDir out;
    payroll::Tyhdfw w(dm, &view);
    w.show();
    EXPECT_EQ(child<QLineEdit>(w, "setField")->text(), QStringLiteral("管理人员"));
    EXPECT_TRUE(child<QLineEdit>(w, "fileField")->text().endsWith(QStringLiteral("df.txt")));
    child<QLineEdit>(w, "fileField")->setText(QString::fromStdString(out.file("代发.txt")));
    child<QPushButton>(w, "生成文件")->click();
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_NE(user.messages[1].find("代发文件已生成：2 条记录"), std::string::npos) << user.messages[1];
    QFile f(QString::fromStdString(out.file("代发.txt")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray(",,\r\n,,\r\n"));  // the first layout: three empty parts

    if (const QString dir = qEnvironmentVariable("RSGZ_SCREENSHOT_DIR"); !dir.isEmpty())
        w.grab().save(dir + QStringLiteral("/bank-file-window.png"));
    child<QPushButton>(w, "设置格式")->click();
    EXPECT_EQ(user.windows, std::vector<std::string>{"银行报盘文件格式设置"});
}

}  // namespace
