#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "db/ChineseCollation.h"
#include "db/Connection.h"
#include "db/SqlText.h"
#include "support/TestDatabase.h"

using namespace rsgz::db;

namespace {

TEST(ChineseCollation, OrdersLikeAChineseOffice)
{
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"阿", "白"},      // pinyin a before b, although 白 has the smaller code point
        {"李四", "王五"},  // l before w
        {"王五", "张三"},  // w before z
        {"张", "张三"},    // a prefix first
        {"abc", "ABD"},    // Latin without regard to case
        {"Zoe", "阿"},     // Latin before Chinese
        {"9", "a"},        // digits before letters
        {"张三", "𠀀"},    // a character outside the basic plane last
        {"ABC", "abc"},    // equal but for case: a fixed order all the same
    };
    for (const Case& c : cases) {
        EXPECT_LT(compareChinese(c.before, c.after), 0) << c.before << " / " << c.after;
        EXPECT_GT(compareChinese(c.after, c.before), 0) << c.after << " / " << c.before;
    }
    EXPECT_EQ(compareChinese("张三", "张三"), 0);
}

TEST(ChineseCollation, SortLinesUseItAndTheFileNeedsItNot)
{
    rsgz::test::TestDatabase db;
    Connection c(db.livePath());
    int number = 0;
    for (const char* name : {"张三", "bob", "李四", "Alice", "王五", "阿明"})
        c.exec("insert into 员工基本情况 (员工编号, 姓名) values (" + sqlQuote(std::to_string(++number)) + ", " +
               sqlQuote(name) + ")");
    std::vector<std::string> names;
    Statement st = c.prepareNative("select 姓名 from 员工基本情况 order by " + sqlOrderTerm("姓名"));
    while (st.step()) names.push_back(st.textOrEmpty(0));
    EXPECT_EQ(names, (std::vector<std::string>{"Alice", "bob", "阿明", "李四", "王五", "张三"}));
    c.close();

    // A plain engine without the program's collation opens the file and reads every table.
    sqlite3* plain = nullptr;
    ASSERT_EQ(sqlite3_open_v2(db.livePath().c_str(), &plain, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    char* err = nullptr;
    EXPECT_EQ(sqlite3_exec(plain, "select count(*) from sqlite_master; pragma quick_check;", nullptr, nullptr, &err),
              SQLITE_OK)
        << (err ? err : "");
    sqlite3_free(err);
    sqlite3_close(plain);
}

}  // namespace
