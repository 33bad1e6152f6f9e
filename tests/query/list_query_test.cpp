#include <gtest/gtest.h>

#include "query/ListQuery.h"

using namespace rsgz;
using query::Condition;
using query::ListQuery;
using T = db::FieldType;

// Each condition writes its value by the column's type from the stored value; a quote in a value
// stays inside its literal.
TEST(ListQuery, ConditionsWriteLiteralsByColumnType)
{
    const struct {
        Condition c;
        std::string sql;
    } cases[] = {
        {Condition::equals("姓名", db::Value("O'Brien"), T::Text), "姓名='O''Brien'"},
        {Condition::equals("一级部门", db::Value("销售部' or '1'='1"), T::Text), "一级部门='销售部'' or ''1''=''1'"},
        {Condition::equals("身高", db::Value(170.5), T::Double), "身高=170.5"},
        {Condition::equals("身高", db::Value("170.5"), T::Double), "身高=170.5"},
        {Condition::equals("价值", db::Value(db::Money::fromUnits(35005000)), T::Currency), "价值=3500.5"},
        {Condition::equals("出生年月", db::Value("1980-05-01"), T::DateTime), "出生年月=#1980-05-01#"},
        {Condition::equals("体重", db::Value("65"), T::Integer), "体重='65'"},
        {Condition::like("姓名", "O'B"), "姓名 like '%O''B%'"},
        {Condition::like("备注", "50%_a\\b"), "备注 like '%50\\%\\_a\\\\b%' escape '\\'"},
        {Condition::empty("学历"), "(学历 is null or 学历='')"},
        {Condition::fixed("员工编号1=员工编号"), "员工编号1=员工编号"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.c.sql(), c.sql);
}

TEST(ListQuery, LinesAndTheParenthesisedWhereTerm)
{
    ListQuery q;
    q.select = {"select * from 员工基本情况"};
    EXPECT_EQ(q.lines(), db::SqlLines{"select * from 员工基本情况"});
    EXPECT_EQ(q.whereTerm(), "");

    q.where(Condition::empty("学历")).where(Condition::equals("性别", db::Value("男"), T::Text));
    q.orderBy("姓名", true);
    EXPECT_EQ(q.lines(), (db::SqlLines{"select * from 员工基本情况", "where (学历 is null or 学历='')", "and 性别='男'",
                                       "order by 姓名 collate zh desc"}));
    EXPECT_EQ(q.whereTerm(), "((学历 is null or 学历='') and 性别='男')");
    // A new order replaces the old one.
    q.orderBy("员工编号", false);
    EXPECT_EQ(q.lines().back(), "order by 员工编号 collate zh");
}
