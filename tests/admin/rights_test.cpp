#include <gtest/gtest.h>

#include <algorithm>

#include "admin/LoginForm.h"
#include "app/PasswordHash.h"
#include "app/Rights.h"
#include "admin/RightsForm.h"
#include "app/TDM.h"
#include "db/SqlText.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;
using app::allRights;
using admin::RightsForm;

int rightIndex(const std::string& right)
{
    const auto& all = allRights();
    return static_cast<int>(std::find(all.begin(), all.end(), right) - all.begin());
}

class RightsTest : public ::testing::Test {
protected:
    void addOperator(const std::string& name, const std::vector<std::string>& rights = {})
    {
        std::string cols = "姓名", values = db::sqlQuote(name);
        for (const std::string& r : rights) {
            cols += "," + r;
            values += ",1";
        }
        dm.DMADO.exec("insert into 权限 (" + cols + ") values (" + values + ")");
    }

    // One column of every stored operator, in table order, as text or as yes/no.
    std::vector<db::Value> stored(const std::string& column)
    {
        dm.s1.close();
        dm.s1.setSql({"select " + column + " from 权限"});
        dm.s1.open();
        std::vector<db::Value> v;
        for (int row = 0; row < dm.s1.recordCount(); ++row) v.push_back(dm.s1.rowValue(row, 0));
        return v;
    }
    std::vector<std::string> storedText(const std::string& column)
    {
        std::vector<std::string> v;
        for (const db::Value& x : stored(column)) v.push_back(x.toString());
        return v;
    }
    std::vector<bool> storedBool(const std::string& column)
    {
        std::vector<bool> v;
        for (const db::Value& x : stored(column)) v.push_back(x.toBool());
        return v;
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;
};

TEST_F(RightsTest, ActivationListsOperatorsAndShowsTheFirst)
{
    addOperator("李四", {"档案管理"});
    RightsForm form(dm);
    form.activate();
    EXPECT_EQ(form.names, (std::vector<std::string>{"admin", "李四"}));
    EXPECT_EQ(form.selectedNode, 0);
    EXPECT_EQ(form.name, "admin");
    EXPECT_EQ(form.checks, std::vector<bool>(allRights().size(), true));

    form.last();
    EXPECT_EQ(form.selectedNode, 1);
    EXPECT_EQ(form.name, "李四");
    for (size_t i = 0; i < allRights().size(); ++i) EXPECT_EQ(form.checks[i], allRights()[i] == "档案管理") << allRights()[i];
    form.prior();
    EXPECT_EQ(form.name, "admin");
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(RightsTest, NewOperatorHasEveryRightButCertificatesAndSalaryChanges)
{
    RightsForm form(dm);
    form.activate();
    form.addOperator();
    EXPECT_EQ(form.focus, RightsForm::Focus::Name);
    EXPECT_EQ(form.name, "");
    for (size_t i = 0; i < allRights().size(); ++i) {
        const bool expected = allRights()[i] != "证照列表" && allRights()[i] != "工资变更";
        EXPECT_EQ(form.checks[i], expected) << allRights()[i];
    }

    form.setName("王五");
    form.save();
    EXPECT_EQ(form.names, (std::vector<std::string>{"admin", "王五"}));
    EXPECT_EQ(storedBool("证照列表"), (std::vector<bool>{true, false}));
    EXPECT_EQ(storedBool("权限管理"), (std::vector<bool>{true, true}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RightsTest, CheckBoxIsWrittenAtOnce)
{
    RightsForm form(dm);
    form.activate();
    form.setRight(rightIndex("数据备份"), false);
    EXPECT_FALSE(storedBool("数据备份")[0]);
    EXPECT_FALSE(dm.qxgl.isEditing());
    EXPECT_FALSE(form.checks[static_cast<size_t>(rightIndex("数据备份"))]);
}

TEST_F(RightsTest, LoneOperatorKeepsRightsManagement)
{
    RightsForm form(dm);
    form.activate();
    const size_t manage = static_cast<size_t>(rightIndex("权限管理"));
    form.setRight(static_cast<int>(manage), false);
    EXPECT_FALSE(storedBool("权限管理")[0]);

    form.save();
    EXPECT_TRUE(form.checks[manage]);
    EXPECT_TRUE(storedBool("权限管理")[0]);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RightsTest, SavingWithNobodyManagingRightsIsRefused)
{
    addOperator("李四");
    RightsForm form(dm);
    form.activate();
    form.setRight(rightIndex("权限管理"), false);
    form.setName("管理员");  // a pending change: posted before the refusal, and kept

    form.save();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"最少有一个操作员!"});
    EXPECT_EQ(storedBool("权限管理"), (std::vector<bool>{false, false}));
    EXPECT_EQ(storedText("姓名")[0], "管理员");
    EXPECT_EQ(form.names, (std::vector<std::string>{"admin", "李四"}));  // not re-read
}

TEST_F(RightsTest, DeletingOperators)
{
    RightsForm form(dm);
    form.activate();
    form.deleteOperator();
    EXPECT_EQ(ui.messages, std::vector<std::string>{"最少有一个操作员!"});
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(stored("姓名").size(), 1u);

    addOperator("李四");
    form.activate();
    form.next();
    form.deleteOperator();  // answered 否
    EXPECT_EQ(ui.questions, std::vector<std::string>{"删除当前权限管理记录吗?"});
    EXPECT_EQ(stored("姓名").size(), 2u);

    ui.answer(true);
    form.deleteOperator();
    EXPECT_EQ(storedText("姓名"), std::vector<std::string>{"admin"});
    EXPECT_EQ(form.names, std::vector<std::string>{"admin"});
    EXPECT_EQ(form.name, "admin");
    EXPECT_TRUE(ui.errors.empty());
}

TEST_F(RightsTest, NodeOfARepeatedNameShowsTheFirstRowOfThatName)
{
    addOperator("李四");
    addOperator("李四", {"档案管理", "权限管理"});
    RightsForm form(dm);
    form.activate();
    ASSERT_EQ(form.names, (std::vector<std::string>{"admin", "李四", "李四"}));

    form.clickNode(2);
    EXPECT_EQ(dm.qxgl.currentRow(), 1);
    EXPECT_EQ(form.selectedNode, 2);
    EXPECT_FALSE(form.checks[static_cast<size_t>(rightIndex("档案管理"))]);

    form.clickNode(0);
    EXPECT_EQ(dm.qxgl.currentRow(), 0);
}

TEST_F(RightsTest, OnlyARightsManagerMayOpenTheWindow)
{
    addOperator("李四", {"档案管理"});
    struct Case {
        const char* operatorName;  // nullptr: nobody logged in
        bool admitted;
    };
    for (const Case& c : {Case{nullptr, false}, Case{"李四", false}, Case{"admin", true}}) {
        ui.messages.clear();
        if (c.operatorName) p.logIn(c.operatorName);
        else dm.zh.close();
        EXPECT_EQ(admin::mayOpenRightsWindow(dm), c.admitted) << (c.operatorName ? c.operatorName : "-");
        const std::vector<std::string> notice =
            c.admitted ? std::vector<std::string>{} : std::vector<std::string>{"权限不足!不能进行权限管理!"};
        EXPECT_EQ(ui.messages, notice);
    }
}

TEST_F(RightsTest, PasswordFieldSetsANewPasswordAndNeverShowsTheStoredOne)
{
    addOperator("李四");
    const std::string adminHash = storedText("密码")[0];
    RightsForm form(dm);
    form.activate();
    EXPECT_EQ(form.password, "");

    // Typed on admin's row, written when the cursor leaves it: to admin, not to the next row.
    form.setPassword("新密码");
    form.next();
    EXPECT_EQ(form.password, "");
    EXPECT_TRUE(app::verifyPassword(storedText("密码")[0], "新密码"));
    EXPECT_FALSE(app::verifyPassword(storedText("密码")[0], "admin"));
    EXPECT_TRUE(stored("密码")[1].isNull());

    // Empty keeps what is stored, through a name change and a save.
    const std::string newHash = storedText("密码")[0];
    EXPECT_NE(newHash, adminHash);
    form.first();
    form.setName("管理员");
    form.save();
    EXPECT_EQ(storedText("密码")[0], newHash);
    EXPECT_EQ(form.password, "");

    form.setPassword("第三个");
    form.save();
    EXPECT_TRUE(app::verifyPassword(storedText("密码")[0], "第三个"));
}

TEST_F(RightsTest, OperatorWithoutPasswordIsStoredButCannotLogIn)
{
    RightsForm form(dm);
    form.activate();
    form.addOperator();
    form.setName("王五");
    form.save();
    ASSERT_EQ(stored("姓名").size(), 2u);

    admin::LoginForm login(p.frame());
    login.name = "王五";
    for (const char* typed : {"", "王五", "admin"}) {
        login.password = typed;
        login.login();
        EXPECT_TRUE(p.frame().LoginFailed) << typed;
    }
}

TEST_F(RightsTest, HasRightReadsTheLoginRowUntilTheNextLogin)
{
    dm.zh.close();
    EXPECT_FALSE(app::hasRight(dm, "数据备份"));  // nobody logged in
    p.logIn("admin");
    EXPECT_TRUE(app::hasRight(dm, "数据备份"));
    EXPECT_FALSE(app::hasRight(dm, "没有这一列"));

    RightsForm form(dm);
    form.activate();
    form.setRight(rightIndex("数据备份"), false);
    form.save();
    EXPECT_TRUE(app::hasRight(dm, "数据备份"));

    p.logIn("admin");
    EXPECT_FALSE(app::hasRight(dm, "数据备份"));
    EXPECT_TRUE(app::hasRight(dm, "权限管理"));
}

}  // namespace

TEST_F(RightsTest, AnOperatorNameOnMoreThanOneLineIsRefused)
{
    RightsForm form(dm);
    form.activate();
    for (const std::string name : {std::string("王\n五"), std::string("王\0五", 7)}) {
        form.setName(name);
        EXPECT_EQ(form.name, "admin");
    }
    form.save();
    EXPECT_EQ(storedText("姓名"), std::vector<std::string>{"admin"});
    EXPECT_EQ(ui.messages, std::vector<std::string>(2, "操作员名称不能含有换行符或空字符！"));
}
