// Record windows made from their tables, driven as a clerk drives them: the buttons clicked, the
// boxes typed into key by key; refusals come back as notices and leave nothing stored.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "app/Module.h"
#include "app/ModuleInfo.h"
#include "app/TDM.h"
#include "payroll/windows/Tgzxmw.h"
#include "personnel/PersonRecordEditor.h"
#include "personnel/windows/Tddglw.h"
#include "personnel/windows/Tpersonrecw.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;
using Strings = std::vector<std::string>;

class RecordWindowsFromTables : public ::testing::Test {
protected:
    RecordWindowsFromTables()
    {
        exec("insert into 员工基本情况 (员工编号, 姓名, 职务, 一级部门, 二级部门) values "
             "('E01', '张三', '科员', '总部', '财务部'), ('E02', '李四', '科长', '分厂', '生产部'), "
             "('E03', '王芳', '会计', '总部', '财务部')");
        exec("insert into 部门分类 (一级部门, 二级部门) values ('总部', null), ('总部', '财务部'), ('总部', '办公室'), "
             "('分厂', '生产部')");
        p.logIn("admin");
    }

    void exec(const std::string& sql) { dm.DMADO.exec(sql); }

    void openModuleList(app::Module m)
    {
        dm.CurrentModule = app::moduleNumber(m);
        const app::ModuleInfo* info = app::findModule(app::moduleNumber(m));
        db::DataSet& ds = *dm.dataSet(info->dataSet);
        ds.setSql(info->sql);
        ds.open();
    }

    // A picker window that chooses the employee (or, with no number, is left with 取消).
    void pickOn(const char* caption, std::string number)
    {
        ui.onWindow(caption, [this, number] {
            dm.PickResult = number.empty() ? 0 : 1;
            if (number.empty()) return;
            dm.s4.close();
            dm.s4.setSql("select * from 员工基本情况 where 员工编号 = '" + number + "'");
            dm.s4.open();
        });
    }

    template <class W>
    static W* child(QWidget& parent, const char* name)
    {
        W* w = parent.findChild<W*>(QString::fromUtf8(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    static void click(QWidget& window, const char* name) { QTest::mouseClick(child<QWidget>(window, name), Qt::LeftButton); }
    static void type(QWidget& window, const char* field, const QString& keys)
    {
        auto* box = child<QLineEdit>(window, field);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, keys);
    }
    // Chinese text arrives as the input method commits it, a word at a time.
    static void commit(QWidget* box, const QString& text)
    {
        box->setFocus();
        QInputMethodEvent e;
        e.setCommitString(text);
        QApplication::sendEvent(box, &e);
    }
    static void showOnScreen(QWidget& w)
    {
        w.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};

// 调动数据管理: a row without a person is refused with the rule's notice; the person picked, the
// date typed and the linked department lists chosen, 保存 stores the row.
TEST_F(RecordWindowsFromTables, TransferWindowRefusesARowWithoutPersonAndStoresAPickedOne)
{
    openModuleList(app::Module::Transfers);
    pickOn("选择被调动人", "");
    personnel::Tddglw w(dm);
    showOnScreen(w);
    click(w, "addButton");
    click(w, "saveButton");
    EXPECT_EQ(ui.messages, Strings{"员工编号不能为空!"});
    EXPECT_EQ(p.count("调动记录"), 0);

    pickOn("选择被调动人", "E02");
    click(w, "personButton");
    EXPECT_EQ(child<QLineEdit>(w, "姓名")->text(), QStringLiteral("李四"));
    EXPECT_EQ(child<QLineEdit>(w, "调动前一级部门")->text(), QStringLiteral("分厂"));
    type(w, "调动日期", QStringLiteral("20240601"));
    auto* level1 = child<QComboBox>(w, "调动后一级部门");
    auto* level2 = child<QComboBox>(w, "调动后二级部门");
    commit(level1->lineEdit(), QStringLiteral("总部"));
    EXPECT_EQ(level2->findText(QStringLiteral("生产部")), -1);
    ASSERT_GE(level2->findText(QStringLiteral("办公室")), 0);
    commit(level2->lineEdit(), QStringLiteral("办公室"));
    click(w, "saveButton");
    EXPECT_EQ(ui.messages.size(), 1u) << ui.messages.back();
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();
    EXPECT_EQ(p.count("调动记录 where 员工编号1 = 'E02' and 姓名 = '李四' and 调动日期 = '2024-06-01' and "
                      "调动前一级部门 = '分厂' and 调动后一级部门 = '总部' and 调动后二级部门 = '办公室'"),
              1);
}

// 奖惩数据管理: 保存 of a new row without its content is refused; the person and the approver
// picked and the content typed, the row is stored.
TEST_F(RecordWindowsFromTables, RewardWindowRefusesAnEmptyContentAndStoresTheTypedRow)
{
    openModuleList(app::Module::Rewards);
    personnel::Tpersonrecw w(dm, personnel::rewardRecordSetup());
    showOnScreen(w);
    click(w, "addButton");
    click(w, "saveButton");
    EXPECT_EQ(ui.messages, Strings{"奖惩内容不能为空!"});
    EXPECT_EQ(p.count("奖惩情况"), 0);

    pickOn("选择被奖惩人", "E01");
    pickOn("选择批准人", "E03");
    click(w, "personButton");
    click(w, "approverButton");
    commit(child<QLineEdit>(w, "奖惩内容"), QStringLiteral("年度先进"));
    click(w, "saveButton");
    EXPECT_EQ(ui.messages.size(), 1u) << ui.messages.back();
    EXPECT_EQ(p.count("奖惩情况 where 员工编号1 = 'E01' and 奖惩人姓名 = '张三' and 批准人 = '王芳' and "
                      "奖惩内容 = '年度先进'"),
              1);
}

// Without the module's right the window shows the row but offers no change: 增加, 保存 and 删除
// are off and the boxes take no typing, while 返回 and the navigator still work.
TEST_F(RecordWindowsFromTables, WindowWithoutTheRightOffersNoChange)
{
    exec("insert into 调动记录 (员工编号1, 姓名, 调动类型, 调动日期) values ('E02', '李四', '内部调动', '2024-05-06')");
    exec("insert into 权限 (姓名, 密码) values ('只读', 'x')");
    exec("update 权限 set 调动管理=0 where 姓名='只读'");
    p.logIn("只读");
    openModuleList(app::Module::Transfers);
    personnel::Tddglw w(dm);
    showOnScreen(w);
    for (const char* button : {"addButton", "saveButton", "deleteButton"})
        EXPECT_FALSE(child<QPushButton>(w, button)->isEnabled()) << button;
    EXPECT_TRUE(child<QPushButton>(w, "returnButton")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>(w, "调动日期")->isReadOnly());
    EXPECT_EQ(child<QLineEdit>(w, "调动日期")->text(), QStringLiteral("2024-05-06"));
}

// Two windows of different modules read alike: in both, the navigator follows the row shown.
TEST_F(RecordWindowsFromTables, WindowsOfTwoModulesShareTheNavigator)
{
    exec("insert into 调动记录 (员工编号1, 姓名, 调动类型, 调动日期, 调动前一级部门, 调动后一级部门, 调动后二级部门, "
         "调动前职务, 调动后职务, 经办人, 批准人, 调动原因) values "
         "('E02', '李四', '内部调动', '2024-05-06', '分厂', '总部', '财务部', '科长', '会计', '张三', '王芳', '工作需要'), "
         "('E01', '张三', '内部调动', '2024-07-01', '总部', '分厂', '生产部', '科员', '科长', '王芳', '王芳', '')");
    exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '管理人员')");
    exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目, 初始值, 是否所得税, 个税关联, 计算公式) values "
         "('01', 'gz01', '基本工资', 1800, '否', '', ''), ('01', 'gz02', '岗位工资', 600, '否', '', ''), "
         "('01', 'gz03', '应发合计', 0, '否', '', 'gz01+gz02')");
    openModuleList(app::Module::Transfers);
    personnel::Tddglw transfers(dm);
    dm.gz_zt.open();
    dm.zt_mx.setSql({"select * from 工资帐套明细", "where 帐套编号1='01'", "order by 工资代码"});
    dm.zt_mx.open();
    payroll::Tgzxmw items(dm);

    const auto enabled = [](QWidget& w, const std::array<const char*, 4>& names) {
        std::vector<bool> on;
        for (const char* n : names) on.push_back(child<QToolButton>(w, n)->isEnabled());
        return on;
    };
    const std::vector<bool> atFirst{false, false, true, true}, atLast{true, true, false, false};
    const std::array<const char*, 4> transferNames{"第一条记录", "前一条记录", "后一条记录", "最后一条记录"};
    const std::array<const char*, 4> itemNames{"第一个记录", "前一个记录", "后一个记录", "最后一个记录"};
    for (auto [w, names] : {std::pair<QWidget*, std::array<const char*, 4>>{&transfers, transferNames}, {&items, itemNames}}) {
        showOnScreen(*w);
        click(*w, names[0]);
        EXPECT_EQ(enabled(*w, names), atFirst) << w->objectName().toStdString();
        click(*w, names[3]);
        EXPECT_EQ(enabled(*w, names), atLast) << w->objectName().toStdString();
    }
    EXPECT_EQ(child<QLineEdit>(transfers, "姓名")->text(), QStringLiteral("张三"));
    EXPECT_EQ(child<QLineEdit>(items, "计算公式")->text(), QStringLiteral("gz01+gz02"));
    EXPECT_TRUE(ui.errors.empty()) << ui.errors.front();

    // Side by side for the record: the transfer window of the personnel module, the item window of
    // the payroll module.
    const QString dir = qEnvironmentVariable("RSGZ_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    click(transfers, transferNames[0]);
    const QPixmap left = transfers.grab(), right = items.grab();
    QPixmap both(left.width() + 16 + right.width(), std::max(left.height(), right.height()));
    both.fill(QColor(0xdd, 0xe3, 0xea));
    QPainter painter(&both);
    painter.drawPixmap(0, 0, left);
    painter.drawPixmap(left.width() + 16, 0, right);
    painter.end();
    both.save(dir + QStringLiteral("/record-windows.png"));
}

}  // namespace
