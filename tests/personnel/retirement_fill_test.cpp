#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/Interaction.h"
#include "app/TDM.h"
#include "db/SqlText.h"
#include "personnel/RetirementDates.h"
#include "support/EngineFixture.h"
#include "support/ProgramLayout.h"
#include "support/ScriptedInteraction.h"

namespace {

using namespace rsgz;

class RetirementFillTest : public test::OnBothEngines {
protected:
    RetirementFillTest()
    {
        const struct {
            const char* no;
            const char* sex;
            const char* status;
            const char* post;
            const char* birth;
            const char* retirement;
        } rows[] = {
            {"M1", "男", "在职", "车工", "1965-01-10", ""},            // 60y1m: 2025-02-10
            {"W1", "女", "在职", "管理岗", "1970-01-01", ""},          // by her post 55y1m: 2025-02-01
            {"W2", "女", "在职", "车工", "1975-03-01", ""},            // set to 55 below: 56y4m, 2031-07-01
            {"W3", "女", "在职", "车工", "1975-03-01", "2025-05-01"},  // by her post 50y2m: already right
            {"M2", "男", "离职", "车工", "1965-01-10", "2024-01-01"},  // gone: his date stays
            {"X1", "男", "在职", "车工", "", ""},                      // no birth date: cannot be worked out
            {"M3", "男", "在职", "车工", "1970-01-01", "2030-01-01"},  // 61y4m: 2031-05-01 replaces it
        };
        // No date is an empty text in a file (as older files hold it), no value on a server.
        const auto date = [this](const char* d) { return *d || !onServer() ? db::sqlQuote(d) : std::string("null"); };
        for (const auto& r : rows)
            dm.DMADO.exec(std::string("insert into 员工基本情况 (员工编号,姓名,性别,在职状况,岗位工种,出生年月,退休日期) values (") +
                          db::sqlQuote(r.no) + ",'某'," + db::sqlQuote(r.sex) + "," + db::sqlQuote(r.status) + "," +
                          db::sqlQuote(r.post) + "," + date(r.birth) + "," + date(r.retirement) + ")");
        personnel::WomanOldAges(dm).set({"W2"}, 55);
        dm.rszl.setSql({"select * from 员工基本情况"});
        dm.rszl.open();
        user.clear();
    }

    std::map<std::string, std::string> stored()
    {
        std::map<std::string, std::string> out;
        dm.s5.close();
        dm.s5.setSql({"select 员工编号, 退休日期 from 员工基本情况"});
        dm.s5.open();
        for (int r = 0; r < dm.s5.rowCount(); ++r) out[dm.s5.rowValue(r, 0).toString()] = dm.s5.rowValue(r, 1).toString();
        dm.s5.close();
        return out;
    }

    test::ProgramLayout p{{.liveDatabase = true, .recordRules = true, .engine = engine()}};
    app::TDM& dm = p.dm();
    test::ScriptedInteraction user;
    const std::map<std::string, std::string> before = {{"M1", ""}, {"W1", ""}, {"W2", ""}, {"W3", "2025-05-01"},
                                                       {"M2", "2024-01-01"}, {"X1", ""}, {"M3", "2030-01-01"}};
};
RSGZ_ON_BOTH_ENGINES(RetirementFillTest);

TEST_P(RetirementFillTest, AsksWithTheNumberOfChangesThenWritesThemAll)
{
    user.answer(true);
    int written = -1;
    ASSERT_TRUE(app::runAction([&] { written = personnel::RetirementFill(dm).run(dm.rszl); }));
    EXPECT_EQ(written, 4);
    ASSERT_EQ(user.questions.size(), 1u);
    EXPECT_NE(user.questions[0].find("为人事资料列表中的4名在职员工填写退休日期"), std::string::npos) << user.questions[0];
    EXPECT_NE(user.questions[0].find("其中1名原来填写的日期将被替换"), std::string::npos);
    EXPECT_NE(user.questions[0].find("另有1名在职员工缺少出生年月或性别"), std::string::npos);
    EXPECT_EQ(stored(), (std::map<std::string, std::string>{{"M1", "2025-02-10"}, {"W1", "2025-02-01"}, {"W2", "2031-07-01"},
                                                            {"W3", "2025-05-01"}, {"M2", "2024-01-01"}, {"X1", ""},
                                                            {"M3", "2031-05-01"}}));
    // The list shows the new dates at once.
    ASSERT_TRUE(dm.rszl.locate("员工编号", db::Value("M1"), false, false));
    EXPECT_EQ(dm.rszl.asString("退休日期"), "2025-02-10");

    // A second fill finds nothing to do and says so.
    user.clear();
    EXPECT_TRUE(app::runAction([&] { written = personnel::RetirementFill(dm).run(dm.rszl); }));
    EXPECT_EQ(written, 0);
    EXPECT_TRUE(user.questions.empty());
    ASSERT_EQ(user.messages.size(), 1u);
}

TEST_P(RetirementFillTest, TouchesOnlyTheListAndNothingWhenRefusedOrDeclined)
{
    // Declined at the question: nothing written.
    user.answer(false);
    EXPECT_TRUE(app::runAction([&] { personnel::RetirementFill(dm).run(dm.rszl); }));
    EXPECT_EQ(stored(), before);

    // Only the women are in the list: the men keep their dates.
    dm.rszl.close();
    dm.rszl.setSql(db::SqlLines{"select * from 员工基本情况", "where 性别='女'"});
    dm.rszl.open();
    user.answer(true);
    EXPECT_TRUE(app::runAction([&] { personnel::RetirementFill(dm).run(dm.rszl); }));
    std::map<std::string, std::string> expected = before;
    expected["W1"] = "2025-02-01";
    expected["W2"] = "2031-07-01";
    EXPECT_EQ(stored(), expected);

    // Without the right: the refusal before any question.
    dm.zh.close();
    user.clear();
    dm.rszl.close();
    dm.rszl.setSql({"select * from 员工基本情况"});
    dm.rszl.open();
    EXPECT_FALSE(app::runAction([&] { personnel::RetirementFill(dm).run(dm.rszl); }));
    EXPECT_TRUE(user.questions.empty());
    EXPECT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(stored(), expected);
}

// Setting an age twice keeps one row; 0 lets the post decide again.
TEST_P(RetirementFillTest, OldAgeSetPerEmployee)
{
    personnel::WomanOldAges ages(dm);
    ages.set({"W1", "w3"}, 50);
    ages.set({"W1"}, 55);
    EXPECT_EQ(ages.all(), (std::map<std::string, int>{{"w1", 55}, {"w2", 55}, {"w3", 50}}));
    ages.set({"W2", "W3"}, 0);
    EXPECT_EQ(ages.all(), (std::map<std::string, int>{{"w1", 55}}));
    EXPECT_EQ(p.count("女职工退休年龄"), 1);

    // Without the right nothing is written.
    dm.zh.close();
    EXPECT_FALSE(app::runAction([&] { ages.set({"W3"}, 55); }));
    EXPECT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(ages.all(), (std::map<std::string, int>{{"w1", 55}}));
}

}  // namespace
