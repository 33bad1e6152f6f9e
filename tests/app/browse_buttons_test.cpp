#include <gtest/gtest.h>

#include "app/BrowseButtons.h"
#include "app/TDM.h"
#include "support/ProgramLayout.h"

using namespace rsgz;
using app::BrowseState;

namespace {

class BrowseButtonsTest : public ::testing::Test {
protected:
    void addEmployees(int n)
    {
        for (int i = 1; i <= n; ++i)
            program.dm().DMADO.exec("insert into 员工基本情况 (员工编号,姓名) values ('" + std::to_string(i) + "','职员')");
    }

    test::ProgramLayout program{{.liveDatabase = true}};
    db::DataSet list{&program.dm().DMADO, "list", {"select * from 员工基本情况"}};
    std::vector<BrowseState> reported;
    app::BrowseButtons buttons{[this](const BrowseState& s) { reported.push_back(s); }};
};

constexpr BrowseState kAllOff{};
constexpr BrowseState kOnFirst{false, false, true, true};
constexpr BrowseState kInBetween{true, true, true, true};
constexpr BrowseState kOnLast{true, true, false, false};

}  // namespace

TEST_F(BrowseButtonsTest, StateFollowsThePositionInTheList)
{
    addEmployees(3);
    EXPECT_EQ(app::browseState(nullptr), kAllOff);
    EXPECT_EQ(app::browseState(&list), kAllOff);  // closed
    list.open();
    const struct {
        int row;
        BrowseState expected;
    } rows[] = {{0, kOnFirst}, {1, kInBetween}, {2, kOnLast}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.row);
        list.moveToRow(r.row);
        EXPECT_EQ(app::browseState(&list), r.expected);
    }
}

TEST_F(BrowseButtonsTest, EmptyAndOneRowListsOfferNoMove)
{
    list.open();
    EXPECT_EQ(app::browseState(&list), kAllOff);
    list.close();
    addEmployees(1);
    list.open();
    EXPECT_EQ(app::browseState(&list), kAllOff);
}

// The buttons hear of every change that moves the list or changes its length, and of nothing twice.
TEST_F(BrowseButtonsTest, ReportsEachChangeOfTheFollowedList)
{
    addEmployees(3);
    buttons.follow(&list);
    list.open();
    list.last();
    list.prior();
    list.next();    // back on the last row
    list.remove();  // the middle row becomes the last
    list.close();
    EXPECT_EQ(reported, (std::vector<BrowseState>{kAllOff, kOnFirst, kOnLast, kInBetween, kOnLast, kAllOff}));

    reported.clear();
    buttons.follow(nullptr);
    list.open();
    EXPECT_EQ(reported, std::vector<BrowseState>{kAllOff});
}
