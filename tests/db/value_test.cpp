#include <gtest/gtest.h>

#include <QDate>
#include <QTime>

#include "db/TypedDate.h"
#include "db/Value.h"

using namespace rsgz::db;

namespace {

TEST(Value, DateTextsAsTypedAndAsStored)
{
    struct Case {
        const char* text;
        const char* stored;  // empty: not a date
    };
    const Case cases[] = {
        {"2005-03-01", "2005-03-01"}, {"2005-3-1", "2005-03-01"}, {"2005/3/1", "2005-03-01"},
        {" 2005.12.31 ", "2005-12-31"}, {"2005-3-1 8:30", "2005-03-01 08:30:00"},
        {"2005-03-01T23:59:59", "2005-03-01 23:59:59"}, {"2005-03-01 00:00:00", "2005-03-01"},
        {"2005-02-29", ""}, {"2005-3-1x", ""}, {"2005-3/1", ""}, {"05-3-1", ""}, {"2005-3-1 24:00", ""},
        {"2005-3-1 8", ""}, {"", ""}, {"三月一日", ""},
    };
    for (const Case& c : cases) {
        QDate d;
        QTime t;
        const bool ok = parseDateText(c.text, &d, &t);
        EXPECT_EQ(ok, *c.stored != '\0') << c.text;
        if (ok) EXPECT_EQ(dateText(d, t), c.stored) << c.text;
        EXPECT_EQ(Value(c.text).toDate().isValid(), ok) << c.text;
    }
    EXPECT_EQ(Value("2009-3-5").toDate(), QDate(2009, 3, 5));
    EXPECT_EQ(Value("2009-3-5 6:07").toDateTime().time(), QTime(6, 7));
    EXPECT_FALSE(Value(20090305).toDate().isValid());
}

// A date box accepts the usual ways of typing a date and shows the stored form afterwards.
TEST(Value, TypedDatesTakeTheirStoredForm)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2022-06-30", "2022-06-30"}, {"2022-6-3", "2022-06-03"}, {"20220630", "2022-06-30"},
        {"2022.06.30", "2022-06-30"}, {"2022/11/15", "2022-11-15"}, {" 20000229 ", "2000-02-29"},
        {"20220230", ""}, {"2022-02-30", ""}, {"2022063", ""}, {"202206300", ""}, {"2022-06-030", ""}, {"", ""},
    };
    for (const auto& [typed, shown] : cases) EXPECT_EQ(typedDateText(typed), shown) << typed;
}

TEST(Value, LenientConversions)
{
    EXPECT_EQ(Value("12abc").toInt(), 12);
    EXPECT_EQ(Value().toString(), "");
    EXPECT_DOUBLE_EQ(Value(Money::fromUnits(25000)).toDouble(), 2.5);
    EXPECT_EQ(Value("1,234.5").toMoney().units(), 12345000);
    for (const char* yes : {"是", "True", "1", "-1"}) EXPECT_TRUE(Value(yes).toBool()) << yes;
    for (const char* no : {"否", "False", "0", ""}) EXPECT_FALSE(Value(no).toBool()) << no;
    EXPECT_EQ(Value(100.0 / 3).toString(), "33.3333333333333");
    EXPECT_EQ(Value(3.0).toString(), "3");
}

}  // namespace
