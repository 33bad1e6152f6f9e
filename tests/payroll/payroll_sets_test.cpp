// Payroll sets and items: the checks that keep codes, numbers and names sound, the set delete that
// takes its items along, the item window's tax fields and formula check, and the grade values.
#include "app/RecordRulesFixture.h"
#include "payroll/GradeValuesForm.h"
#include "payroll/ItemForm.h"
#include "payroll/PayrollSetsPage.h"

namespace rsgz::test {
namespace {

class PayrollSetsTest : public RecordRulesTest {
protected:
    PayrollSetsTest()
    {
        seed();  // set 01 管理人员
        exec("insert into 帐套 (帐套编号, 帐套名称) values ('02', '生产人员')");
        exec("insert into 工资帐套明细 (帐套编号1, 工资代码, 工资项目) values ('01', 'gz01', '基本工资'), "
             "('01', 'gz02', '岗位工资'), ('02', 'gz01', '计件工资')");
        page.open();
        ui.clear();
    }

    // Appends an item to the current set with the code and formula typed, and saves it.
    bool saveItem(const std::string& code, const std::string& formula = {})
    {
        ui.clear();
        tdm.zt_mx.append();
        tdm.zt_mx.setValue("工资代码", code);
        tdm.zt_mx.setValue("工资项目", "项目" + code);
        tdm.zt_mx.setValue("计算公式", formula);
        const bool saved = app::runAction([this] { tdm.zt_mx.post(); });
        if (tdm.zt_mx.isEditing()) tdm.zt_mx.cancel();
        return saved;
    }

    int items(const std::string& set) { return rowsIn("工资帐套明细 where 帐套编号1='" + set + "'"); }

    payroll::PayrollSetsPage page{tdm};
};

RSGZ_ON_BOTH_ENGINES(PayrollSetsTest);

TEST_P(PayrollSetsTest, ItemCodesAndFormulasAreCheckedOnSave)
{
    struct Case {
        const char* code;
        const char* formula;
        bool saved;
        const char* message;  // part of the notice, when refused
    };
    const Case cases[] = {
        {"gz40", "", false, "工资代码“gz40”无效，只能是gz01到gz39之一！"},
        {"工资", "", false, "无效"},
        {"", "", false, "无效"},
        {"gz01", "", false, "工资代码“gz01”在本帐套中已经使用，不能重复！"},
        {"GZ02", "", false, "“gz02”在本帐套中已经使用"},
        {"gz03", "gz01+gz02;delete from 工资表", false, "计算公式有误，第 10 个字符处：公式中不能有字符“;”"},
        {"gz03", "(gz01+gz02", false, "计算公式有误，公式末尾：缺少右括号"},
        {"GZ03", "(gz01+gz02)/出勤天数", true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.code) + " " + c.formula);
        EXPECT_EQ(saveItem(c.code, c.formula), c.saved);
        if (c.message) {
            ASSERT_EQ(ui.messages.size(), 1u);
            EXPECT_NE(ui.messages[0].find(c.message), std::string::npos) << ui.messages[0];
        }
    }
    // The code is stored as the column is named; another set may use gz01 as well.
    EXPECT_EQ(rowsIn("工资帐套明细 where 帐套编号1='01' and 工资代码='gz03'"), 1);
    EXPECT_EQ(items("02"), 1);
}

TEST_P(PayrollSetsTest, NewItemDefaultsAndEmptyAmountsOnSave)
{
    tdm.zt_mx.append();
    EXPECT_EQ(ui.windows, std::vector<std::string>{"工资项目设定"});
    EXPECT_EQ(tdm.zt_mx.asString("帐套编号1"), "01");
    EXPECT_EQ(tdm.zt_mx.asString("初始值"), "0");
    EXPECT_EQ(tdm.zt_mx.asString("个税起征点"), "1600");
    EXPECT_EQ(tdm.zt_mx.asString("是否所得税"), "否");
    tdm.zt_mx.setValue("工资代码", "gz05");
    tdm.zt_mx.setValue("初始值", db::Value());
    tdm.zt_mx.setValue("个税起征点", db::Value());
    tdm.zt_mx.post();
    EXPECT_EQ(tdm.zt_mx.asString("初始值"), "0");
    EXPECT_EQ(tdm.zt_mx.asString("个税起征点"), "1600");

    // Without a set there is nothing to add to.
    exec("delete from 帐套");
    page.open();
    ui.clear();
    page.addItem();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"无帐套数据!"});
    EXPECT_EQ(tdm.zt_mx.recordCount(), 0);
}

TEST_P(PayrollSetsTest, DeletingASetTakesItsItemsAlong)
{
    ui.answer(false);
    page.deleteSet();
    EXPECT_EQ(rowsIn("帐套"), 2);
    EXPECT_EQ(items("01"), 2);

    ui.answer(true);
    page.deleteSet();
    EXPECT_EQ(ui.questions.back(), "删除当前工资帐套数据吗?");
    EXPECT_EQ(rowsIn("帐套"), 1);
    EXPECT_EQ(items("01"), 0);
    EXPECT_EQ(items("02"), 1);
    // The item list follows to the set now current.
    EXPECT_EQ(tdm.zt_mx.asString("工资项目"), "计件工资");

    // A new set given the old number starts without items.
    exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '新帐套')");
    page.open();
    tdm.gz_zt.last();
    page.setGridClicked();
    EXPECT_EQ(tdm.zt_mx.recordCount(), 0);
}

TEST_P(PayrollSetsTest, SetNumbersAreUniqueAndNamesInUseStay)
{
    payroll::SetForm form(tdm);
    form.setField("帐套编号", "02");
    EXPECT_FALSE(form.confirm());
    EXPECT_EQ(ui.messages.back(), "帐套编号“02”已经存在，帐套编号不能重复！");
    form.cancel();

    // The number of a set with items would leave them behind.
    form.setField("帐套编号", "09");
    EXPECT_FALSE(form.confirm());
    EXPECT_EQ(ui.messages.back(), "帐套编号“01”下已有工资项目，不能修改帐套编号！");
    form.cancel();

    // Nothing refers to 管理人员 yet: it may be renamed.
    form.setField("帐套名称", "管理");
    EXPECT_TRUE(form.confirm());
    exec("update 员工基本情况 set 工资帐套名称='管理'");
    exec("insert into 工资表 (工资帐套, 员工编号, 姓名) values ('管理', 'E01', '张三')");
    form.setField("帐套名称", "行政");
    EXPECT_FALSE(form.confirm());
    EXPECT_EQ(ui.messages.back(), "帐套“管理”已被员工档案（2条）、工资表（1条）使用，不能改名！");
    form.cancel();
    EXPECT_EQ(rowsIn("帐套 where 帐套名称='管理'"), 1);
}

TEST_P(PayrollSetsTest, ItemWindowTaxFieldsAndFormulaCheck)
{
    payroll::ItemForm form(tdm);
    form.activate();
    EXPECT_FALSE(form.taxFieldsEditable);
    EXPECT_EQ(form.taxLinkChoices, (std::vector<std::string>{"基本工资", "岗位工资"}));
    form.setField("是否所得税", "是");
    EXPECT_TRUE(form.taxFieldsEditable);

    // While the window is open a new item opens no second one.
    ui.clear();
    form.add();
    EXPECT_TRUE(ui.windows.empty());
    form.setField("工资代码", "gz03");
    form.setField("计算公式", "gz01 + gz02 * ");
    EXPECT_FALSE(form.checkFormula());
    EXPECT_EQ(ui.messages.back(), "计算公式有误，公式末尾：公式不完整，缺少数值或列名");
    // As the set's last item it is the net pay: only columns added and subtracted.
    form.setField("计算公式", "(gz01+gz02)*0.9");
    EXPECT_FALSE(form.checkFormula());
    EXPECT_NE(ui.messages.back().find("实发工资"), std::string::npos);
    form.setField("计算公式", "gz01+gz02");
    EXPECT_TRUE(form.checkFormula());
    EXPECT_EQ(rowsIn("工资帐套明细 where 计算公式='gz01+gz02'"), 1);
}

TEST_P(PayrollSetsTest, GradesSeededFromTheDictionaryAndCompletedWithEveryItemName)
{
    exec("delete from 工资等级");
    exec("insert into 数据字典 (字段名称, 字典内容) values ('工资等级', '甲'), ('职务', '科员'), ('工资等级', '乙')");
    exec("insert into 默认工资项目 (工资项目) values ('基本工资'), ('岗位工资'), ('')");
    exec("insert into 默认工资等级值 (工资等级, 工资项目, 金额) values ('乙', '基本工资', 800), ('乙', '其他', 5)");
    payroll::GradeValuesForm form(tdm);
    form.activate();
    EXPECT_EQ(rowsIn("工资等级"), 2);
    EXPECT_EQ(tdm.gzdj.asString("工资等级"), "甲");

    form.gradeClicked(0);  // 甲: no values yet, one per item name (not for the empty name)
    EXPECT_EQ(rowsIn("默认工资等级值 where 工资等级='甲' and 金额=0"), 2);
    form.gradeClicked(1);  // 乙 has two rows for three names: the missing one is added, 其他 stays
    EXPECT_EQ(rowsIn("默认工资等级值 where 工资等级='乙'"), 3);
    EXPECT_EQ(rowsIn("默认工资等级值 where 工资等级='乙' and 工资项目='基本工资' and 金额=800"), 1);
    form.gradeClicked(1);  // complete: nothing more
    EXPECT_EQ(rowsIn("默认工资等级值"), 5);
}

}  // namespace
}  // namespace rsgz::test
