#include <gtest/gtest.h>

#include "admin/CompanyForm.h"
#include "app/TDM.h"
#include "db/SqlText.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;
using admin::CompanyForm;

class CompanyTest : public ::testing::Test {
protected:
    void addCompany(const std::string& name)
    {
        dm.DMADO.exec("insert into 公司数据 (单位名称) values (" + db::sqlQuote(name) + ")");
    }

    // 单位名称 of every stored row, in table order.
    std::vector<std::string> storedNames()
    {
        dm.s1.close();
        dm.s1.setSql({"select 单位名称 from 公司数据 order by 顺序号"});
        dm.s1.open();
        std::vector<std::string> v;
        for (int row = 0; row < dm.s1.recordCount(); ++row) v.push_back(dm.s1.rowValue(row, 0).toString());
        return v;
    }

    test::ProgramLayout p{{.liveDatabase = true}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction ui;  // the company window asks nothing and shows no notice
};

TEST_F(CompanyTest, FirstSaveOnAnEmptyTableCreatesTheRow)
{
    CompanyForm form(dm);
    EXPECT_EQ(form.values, std::vector<std::string>(12));
    form.values[0] = "宏达机械厂";
    form.values[11] = "赵会计";
    ASSERT_TRUE(form.save());
    EXPECT_EQ(storedNames(), std::vector<std::string>{"宏达机械厂"});

    form.values[0] = "宏达机械有限公司";
    ASSERT_TRUE(form.save());
    EXPECT_EQ(storedNames(), std::vector<std::string>{"宏达机械有限公司"});

    CompanyForm again(dm);
    EXPECT_EQ(again.values[11], "赵会计");
    EXPECT_TRUE(dm.gs_data.isNull("地址"));  // untouched fields stay empty
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.questions.empty());
}

TEST_F(CompanyTest, OnlyTheFirstRowIsShownAndSaved)
{
    addCompany("甲厂");
    addCompany("乙厂");
    CompanyForm form(dm);
    EXPECT_EQ(form.values[0], "甲厂");
    form.values[0] = "甲公司";
    ASSERT_TRUE(form.save());
    EXPECT_EQ(storedNames(), (std::vector<std::string>{"甲公司", "乙厂"}));
}

TEST_F(CompanyTest, ReturnDropsWhatWasTyped)
{
    addCompany("甲厂");
    CompanyForm form(dm);
    form.values[0] = "乙厂";
    form.close();
    EXPECT_TRUE(form.closed);
    EXPECT_EQ(storedNames(), std::vector<std::string>{"甲厂"});
    EXPECT_EQ(CompanyForm(dm).values[0], "甲厂");
}

TEST_F(CompanyTest, FieldsAcceptTheirColumnsWidth)
{
    CompanyForm form(dm);
    const int widths[] = {150, 160, 10, 50, 50, 50, 100, 100, 100, 50, 50, 30};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(form.maxLength(i), widths[i]) << admin::companyFields()[static_cast<size_t>(i)];
}

TEST_F(CompanyTest, RefusedWriteKeepsTheRowInEditAndCanBeSavedAgain)
{
    addCompany("甲厂");
    dm.DMADO.execNative("create trigger hold before update on 公司数据 begin select raise(abort, '文件被锁定'); end");
    CompanyForm form(dm);
    form.values[0] = "乙厂";
    EXPECT_FALSE(form.save());
    ASSERT_EQ(ui.errors.size(), 1u);
    EXPECT_NE(ui.errors[0].find("文件被锁定"), std::string::npos);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_TRUE(dm.gs_data.isEditing());
    EXPECT_EQ(form.values[0], "乙厂");

    dm.DMADO.execNative("drop trigger hold");
    EXPECT_TRUE(form.save());
    EXPECT_FALSE(dm.gs_data.isEditing());
    EXPECT_EQ(storedNames(), std::vector<std::string>{"乙厂"});
}

TEST_F(CompanyTest, OpeningIsASystemGroupStep)
{
    dm.CurrentModule = 11;
    int frameSteps = 0;
    admin::enterCompanyWindow(dm, [&] {
        EXPECT_EQ(dm.CurrentModule, 0);
        ++frameSteps;
    });
    EXPECT_EQ(frameSteps, 1);
    admin::enterCompanyWindow(dm, {});
    EXPECT_EQ(dm.CurrentModule, 0);
}

}  // namespace
