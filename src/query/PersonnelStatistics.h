#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace rsgz::app {
class TDM;
}

namespace rsgz::query {

class TreeQueries;

// One category of a count: a value of the item (or 其他) and how many employees hold it.
struct StatisticsRow {
    std::string category;
    int64_t people = 0;
    bool operator==(const StatisticsRow& o) const { return category == o.category && people == o.people; }
};

// What a chart shows of a count: categories without people are left out and, beyond `shown`
// categories, the smallest are folded together with 其他 into one 其他 at the end, so that a count
// over thousands of values still gives a readable chart. The order of the kept rows stays.
std::vector<StatisticsRow> chartRows(const std::vector<StatisticsRow>& rows, size_t shown);

// The counting of 人员信息统计: how many employees hold each value of one column of 员工基本情况
// (the statistics item), narrowed to a node of the personnel tree, with the employees who hold no
// value counted under 其他. The result rows go into rytongji, which keeps them as pending rows of
// its batch: the working table 人员统计 itself is never written.
class PersonnelStatistics {
public:
    static constexpr const char* kOther = "其他";

    PersonnelStatistics(app::TDM& dm, TreeQueries& trees) : dm_(dm), trees_(trees) {}

    // The items of set/tongji.list in file order; empty without the file.
    std::vector<std::string> items() const;
    // Whether the text names a column of 员工基本情况 that can be counted (typing in the item box
    // passes through texts that name none).
    bool isItem(const std::string& text);

    // Counts item within the path of the personnel tree's node (-1: every employee): one row per
    // value in pinyin order, then 其他. One grouped count and one count of the rest. False, with
    // rytongji as it was, when item is no column or the tree's field list is out of date (noticed).
    // A database error is thrown on, also with rytongji as it was. The node's path goes to the
    // trees' status hint ("当前数据：…").
    bool run(const std::string& item, int node);

private:
    std::vector<StatisticsRow> counts(const std::string& item, const std::vector<std::string>& pathTerms);
    void show(const std::vector<StatisticsRow>& rows);

    app::TDM& dm_;
    TreeQueries& trees_;
};

}  // namespace rsgz::query
