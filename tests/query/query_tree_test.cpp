#include <QFile>
#include <gtest/gtest.h>

#include "db/Gbk.h"
#include "query/QueryTree.h"
#include "support/TempDir.h"

using namespace rsgz;
using query::QueryTree;

namespace {

// The tree as its file lines, the easiest shape to compare.
std::vector<std::string> shape(const QueryTree& t) { return t.fileLines(); }

std::string readBytes(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "<missing>";
}

}  // namespace

TEST(QueryTree, BuildsLevelsFromDistinctRowsAndStopsAtAnEmptyValue)
{
    const QueryTree t = QueryTree::fromRows({
        {"销售部", "华东区", "上海", "工程师"},
        {"销售部", "华东区", "杭州", ""},
        {"销售部", "", "上海", "技术员"},  // nothing below an empty level
        {"", "华北区", "北京", "工程师"},   // no root, no subtree
        {"生产部", "一车间", "", ""},
        {"销售部", "华北区", "北京", "技术员"},
    });
    EXPECT_EQ(shape(t), (std::vector<std::string>{"销售部", "\t华东区", "\t\t上海", "\t\t\t工程师", "\t\t杭州", "\t华北区",
                                                  "\t\t北京", "\t\t\t技术员", "生产部", "\t一车间"}));
    EXPECT_EQ(t.path(7), (std::vector<std::string>{"销售部", "华北区", "北京", "技术员"}));

    // One column: a flat list of roots.
    EXPECT_EQ(shape(QueryTree::fromRows({{"男"}, {"女"}, {"男"}, {""}})), (std::vector<std::string>{"男", "女"}));
}

// Names may hold characters GBK has no code for (王䶮, 𠀀 of the supplementary planes): the tree of
// such a list is written and read like any other.
TEST(QueryTree, FileRoundTripKeepsShapeTextsAndLeadingBlanks)
{
    test::TempDir dir;
    const std::string path = dir.path() + "/rszl.list";
    QueryTree t = QueryTree::fromRows({{"销售部", "  二组", "王䶮"}, {"销售部", "一组"}, {"生产部", "𠀀"}});
    // A line break inside a value must not split the node into two lines of the file.
    const int odd = t.add(query::nodeText(db::Value("第一行\r\n第二行")), 4);
    t.save(path);
    EXPECT_EQ(readBytes(path), db::toGb18030("销售部\r\n\t  二组\r\n\t\t王䶮\r\n\t一组\r\n生产部\r\n\t𠀀\r\n\t第一行  第二行\r\n"));

    QueryTree back;
    ASSERT_TRUE(back.load(path).ok);
    EXPECT_EQ(shape(back), shape(t));
    EXPECT_EQ(back.node(1).text, "  二组");
    EXPECT_EQ(back.node(odd).depth, 1);

    // An empty tree is an empty file.
    QueryTree().save(path);
    EXPECT_EQ(readBytes(path), "");
}

TEST(QueryTree, ReadingKeepsTheNodesBeforeABadLine)
{
    QueryTree t;
    // The first line is a root whatever its depth; a climb of two levels is fine, a jump is not.
    EXPECT_TRUE(t.readLines({"\t\tA", "\tB", "\t\tC", "D", "\tE"}));
    EXPECT_EQ(shape(t), (std::vector<std::string>{"A", "\tB", "\t\tC", "D", "\tE"}));

    EXPECT_FALSE(t.readLines({"A", "\tB", "\t\t\tC", "D"}));
    EXPECT_EQ(shape(t), (std::vector<std::string>{"A", "\tB"}));
}

// More nodes or levels than any tree of the program has: the file is damaged, not built.
TEST(QueryTree, TreesBeyondTheBoundsAreRefused)
{
    std::vector<std::string> deep;
    for (int d = 0; d <= QueryTree::kMaxDepth; ++d) deep.push_back(std::string(static_cast<size_t>(d), '\t') + "层");
    QueryTree t;
    EXPECT_TRUE(t.readLines({deep.begin(), deep.end() - 1}));
    EXPECT_FALSE(t.readLines(deep));
    EXPECT_TRUE(t.readLines(std::vector<std::string>(QueryTree::kMaxNodes, "A")));
    EXPECT_FALSE(t.readLines(std::vector<std::string>(QueryTree::kMaxNodes + 1, "A")));
    EXPECT_TRUE(t.empty());
}
