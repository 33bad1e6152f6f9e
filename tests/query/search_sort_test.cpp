#include <gtest/gtest.h>

#include "QueryFixture.h"

using namespace rsgz;

namespace {

class SearchSort : public test::QueryFixture {
protected:
    void SetUp() override
    {
        QueryFixture::SetUp();
        if (IsSkipped()) return;
        addEmployee({{"员工编号", "1"}, {"姓名", "张三"}, {"学历", "大专"}, {"一级部门", "销售部"}});
        addEmployee({{"员工编号", "2"}, {"姓名", "李四"}, {"学历", ""}, {"一级部门", "销售部"}});
        addEmployee({{"员工编号", "3"}, {"姓名", "王五"}, {"一级部门", "生产部"}});
        addEmployee({{"员工编号", "4"}, {"姓名", "阿六"}, {"学历", "本科"}, {"一级部门", "销售部"}});
    }
    int sortRows(int module) { return static_cast<int>(dm.DMADO.exec("update 排序表 set 窗口号=窗口号 where 窗口号=" + std::to_string(module))); }
};
RSGZ_ON_BOTH_ENGINES(SearchSort);

}  // namespace

TEST_P(SearchSort, QuickAndEmptyValueSearch)
{
    nav.chooseModule(1);
    nav.searchOneField(1, "姓名", "三");
    EXPECT_EQ(dm.rszl.sqlLines(), (db::SqlLines{"select * from 员工基本情况", "where 姓名 like '%三%'"}));
    EXPECT_EQ(column("员工编号"), std::vector<std::string>{"1"});
    EXPECT_EQ(view.hints, (std::vector<std::string>{"正在查询数据.....", "查询结束!"}));

    // A column that is not one of the box's entries, or a computed one, searches nothing.
    for (const char* field : {"年龄", "没有的列"}) {
        nav.searchOneField(1, field, "3");
        EXPECT_EQ(dm.rszl.recordCount(), 1) << field;
    }

    nav.searchEmptyValue(1, "学历");
    EXPECT_EQ(dm.rszl.sqlLines(), (db::SqlLines{"select * from 员工基本情况", "where (学历 is null or 学历='')"}));
    EXPECT_EQ(column("员工编号"), (std::vector<std::string>{"2", "3"}));

    // Evaluations are searched through their own list (their columns all exist).
    nav.chooseModule(7);
    nav.searchOneField(7, "考评等级", "优");
    EXPECT_EQ(dm.kpqk1.sqlLines()[1], "where 考评等级 like '%优%'");
    EXPECT_TRUE(dm.kpqk1.active());
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
}

// A sort keeps the filter in force and replaces any order; a later tree click drops it.
TEST_P(SearchSort, SortingKeepsTheFilterAndReplacesTheOrder)
{
    nav.chooseModule(1);
    nav.searchOneField(1, "一级部门", "销售");
    pages.sortChosen(1, "姓名", "降序");
    EXPECT_EQ(dm.rszl.sqlLines(),
              (db::SqlLines{"select * from 员工基本情况", "where 一级部门 like '%销售%'", "order by 姓名 collate zh desc"}));
    // Pinyin order, descending: zhang, li, a.
    EXPECT_EQ(column("姓名"), (std::vector<std::string>{"张三", "李四", "阿六"}));
    pages.sortChosen(1, "姓名", "升序");
    EXPECT_EQ(column("姓名"), (std::vector<std::string>{"阿六", "李四", "张三"}));
    EXPECT_EQ(dm.rszl.sqlLines().size(), 3u);

    // Rewards and penalties: the module's own order line is replaced, not followed by a second one.
    nav.chooseModule(4);
    pages.sortChosen(4, "奖惩日期", "升序");
    EXPECT_EQ(dm.jcqk1.sqlLines().back(), "order by 奖惩日期 collate zh");
    EXPECT_EQ(std::count_if(dm.jcqk1.sqlLines().begin(), dm.jcqk1.sqlLines().end(),
                            [](const std::string& l) { return l.starts_with("order by"); }),
              1);

    // Not an entry of the box (a computed column, a made-up direction): nothing happens.
    nav.chooseModule(1);
    const db::SqlLines before = dm.rszl.sqlLines();
    pages.sortChosen(1, "年龄", "升序");
    pages.sortChosen(1, "姓名", "随便");
    EXPECT_EQ(dm.rszl.sqlLines(), before);
    EXPECT_TRUE(user.errors.empty()) << user.errors.front();
}

// Each page keeps its own row of 排序表; showing it fills the boxes without storing anything.
TEST_P(SearchSort, SortChoicesPersistPerModule)
{
    nav.chooseModule(1);
    EXPECT_EQ(view.widths.at(1), 120);
    EXPECT_EQ(sortRows(1), 1);
    EXPECT_EQ(view.sorts.at(1), (std::pair<std::string, std::string>{"", ""}));

    pages.sortChosen(1, "姓名", "降序");
    nav.chooseModule(2);
    pages.sortChosen(2, "培训名称", "升序");
    pages.treeWidthMoved(2, 210);
    pages.searchFieldChosen(1, "学历");
    pages.searchFieldChosen(1, "年龄");  // no entry of the box: not stored

    // A new run of the program on the same files and database.
    view = {};
    nav.chooseModule(1);
    nav.chooseModule(2);
    EXPECT_EQ(view.sorts.at(1), (std::pair<std::string, std::string>{"姓名", "降序"}));
    EXPECT_EQ(view.sorts.at(2), (std::pair<std::string, std::string>{"培训名称", "升序"}));
    EXPECT_EQ(view.widths.at(1), 120);
    EXPECT_EQ(view.widths.at(2), 210);
    EXPECT_EQ(view.searchFields.at(1), "学历");
    EXPECT_EQ(sortRows(1) + sortRows(2), 2);

    // Showing the stored choice sorted nothing: the kept list is still the search-free one of
    // module 2 with its own lines.
    EXPECT_EQ(dm.pxjl.sqlLines().back(), "order by 培训名称 collate zh");
    dm.DMADO.exec("update 排序表 set 排序字段='名称' where 窗口号=2");
    nav.chooseModule(2);
    EXPECT_EQ(dm.pxjl.sqlLines().back(), "order by 培训名称 collate zh");
}
