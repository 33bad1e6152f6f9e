#include <gtest/gtest.h>

#include <QDir>
#include <deque>

#include "support/TempDir.h"
#include "admin/LoginForm.h"
#include "admin/PasswordHash.h"
#include "admin/Rights.h"
#include "admin/RightsForm.h"
#include "app/Interaction.h"
#include "app/MainFrame.h"
#include "app/TDM.h"
#include "db/SqlText.h"

namespace {

using namespace rsgz;
using admin::allRights;
using admin::RightsForm;

// Records notices and errors and answers questions from a script (否 once the script runs out).
class ScriptedAnswers : public app::Interaction {
public:
    std::vector<std::string> messages, questions, errors;
    std::deque<bool> answers;
    void showMessage(const std::string& t) override { messages.push_back(t); }
    bool ask(const std::string& t) override
    {
        questions.push_back(t);
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    void showError(const std::string& t) override { errors.push_back(t); }
    std::string openFileName(const std::string&, const std::string&) override { return {}; }
    std::string saveFileName(const std::string&, const std::string&) override { return {}; }
    void openWindow(const std::string&) override {}
    void openUrl(const std::string&) override {}
};

int rightIndex(const std::string& right)
{
    const auto& all = allRights();
    return static_cast<int>(std::find(all.begin(), all.end(), right) - all.begin());
}

class RightsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir().mkpath(QString::fromStdString(dir.file("data")));
        app::createTemplateDatabase(dir.file("data/vesk.db"));
        dm.setProgramDir(dir.path());
        app::setDM(&dm);
        app::setInteraction(&answers);
        bindStandInRules();
    }
    void TearDown() override
    {
        app::setInteraction(nullptr);
        app::setDM(nullptr);
    }

    // The record rules of qxgl as the data module binds them: a new operator gets every right but
    // two, and a deletion is asked first.
    void bindStandInRules()
    {
        dm.qxgl.rules().afterInsert = [](db::DataSet& ds) {
            for (const std::string& r : allRights())
                if (r != "证照列表" && r != "工资变更") ds.setValue(r, true);
        };
        dm.qxgl.rules().beforeDelete = [this](db::DataSet&) {
            dm.Show_Tishi_windows2("删除当前权限管理记录吗?");
            if (dm.PromptAnswer != 1) db::abortSilently();
        };
    }

    void addOperator(const std::string& name, const std::vector<std::string>& rights = {})
    {
        std::string cols = "姓名", values = db::sqlQuote(name);
        for (const std::string& r : rights) {
            cols += "," + r;
            values += ",1";
        }
        dm.DMADO.exec("insert into 权限 (" + cols + ") values (" + values + ")");
    }

    void logIn(const std::string& name)
    {
        dm.zh.close();
        dm.zh.setSql({"Select * from 权限", "where 姓名 =" + db::sqlQuote(name)});
        dm.zh.open();
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

    test::TempDir dir;
    app::TDM dm;
    ScriptedAnswers answers;
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
    EXPECT_TRUE(answers.errors.empty());
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
    EXPECT_TRUE(answers.messages.empty());
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
    EXPECT_TRUE(answers.messages.empty());
}

TEST_F(RightsTest, SavingWithNobodyManagingRightsIsRefused)
{
    addOperator("李四");
    RightsForm form(dm);
    form.activate();
    form.setRight(rightIndex("权限管理"), false);
    form.setName("管理员");  // a pending change: posted before the refusal, and kept

    form.save();
    EXPECT_EQ(answers.messages, std::vector<std::string>{"最少有一个操作员!"});
    EXPECT_EQ(storedBool("权限管理"), (std::vector<bool>{false, false}));
    EXPECT_EQ(storedText("姓名")[0], "管理员");
    EXPECT_EQ(form.names, (std::vector<std::string>{"admin", "李四"}));  // not re-read
}

TEST_F(RightsTest, DeletingOperators)
{
    RightsForm form(dm);
    form.activate();
    form.deleteOperator();
    EXPECT_EQ(answers.messages, std::vector<std::string>{"最少有一个操作员!"});
    EXPECT_TRUE(answers.questions.empty());
    EXPECT_EQ(stored("姓名").size(), 1u);

    addOperator("李四");
    form.activate();
    form.next();
    form.deleteOperator();  // answered 否
    EXPECT_EQ(answers.questions, std::vector<std::string>{"删除当前权限管理记录吗?"});
    EXPECT_EQ(stored("姓名").size(), 2u);

    answers.answers = {true};
    form.deleteOperator();
    EXPECT_EQ(storedText("姓名"), std::vector<std::string>{"admin"});
    EXPECT_EQ(form.names, std::vector<std::string>{"admin"});
    EXPECT_EQ(form.name, "admin");
    EXPECT_TRUE(answers.errors.empty());
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
        answers.messages.clear();
        if (c.operatorName) logIn(c.operatorName);
        EXPECT_EQ(admin::mayOpenRightsWindow(dm), c.admitted) << (c.operatorName ? c.operatorName : "-");
        const std::vector<std::string> notice =
            c.admitted ? std::vector<std::string>{} : std::vector<std::string>{"权限不足!不能进行权限管理!"};
        EXPECT_EQ(answers.messages, notice);
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
    EXPECT_TRUE(admin::verifyPassword(storedText("密码")[0], "新密码"));
    EXPECT_FALSE(admin::verifyPassword(storedText("密码")[0], "admin"));
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
    EXPECT_TRUE(admin::verifyPassword(storedText("密码")[0], "第三个"));
}

TEST_F(RightsTest, OperatorWithoutPasswordIsStoredButCannotLogIn)
{
    RightsForm form(dm);
    form.activate();
    form.addOperator();
    form.setName("王五");
    form.save();
    ASSERT_EQ(stored("姓名").size(), 2u);

    app::MainFrame frame(dm);
    frame.ProgramDir = dir.path() + "/";
    admin::LoginForm login(frame);
    login.name = "王五";
    for (const char* typed : {"", "王五", "admin"}) {
        login.password = typed;
        login.login();
        EXPECT_TRUE(frame.LoginFailed) << typed;
    }
}

TEST_F(RightsTest, HasRightReadsTheLoginRowUntilTheNextLogin)
{
    EXPECT_FALSE(admin::hasRight(dm, "数据备份"));  // nobody logged in
    logIn("admin");
    EXPECT_TRUE(admin::hasRight(dm, "数据备份"));
    EXPECT_FALSE(admin::hasRight(dm, "没有这一列"));

    RightsForm form(dm);
    form.activate();
    form.setRight(rightIndex("数据备份"), false);
    form.save();
    EXPECT_TRUE(admin::hasRight(dm, "数据备份"));

    logIn("admin");
    EXPECT_FALSE(admin::hasRight(dm, "数据备份"));
    EXPECT_TRUE(admin::hasRight(dm, "权限管理"));
}

}  // namespace
