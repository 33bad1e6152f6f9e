#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "db/Gbk.h"
#include "support/TempDir.h"

using rsgz::db::EncodingError;
using rsgz::db::fromGbk;
using rsgz::db::readGbkLines;
using rsgz::db::toGbk;
using rsgz::db::writeGbkLines;

namespace {

std::string fileBytes(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return "<missing>";
    return file.readAll().toStdString();
}

void putBytes(const std::string& path, const std::string& bytes)
{
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

QStringList entries(const rsgz::test::TempDir& dir)
{
    return QDir(QString::fromStdString(dir.path())).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace

TEST(Gbk, EncodesKnownWordsToTheirGbkBytes)
{
    EXPECT_EQ(toGbk("人事"), "\xC8\xCB\xCA\xC2");
    EXPECT_EQ(toGbk("Li 1"), "Li 1");
    EXPECT_EQ(fromGbk("\xC8\xCB\xCA\xC2"), "人事");
}

TEST(Gbk, RoundTripsChineseAndMixedText)
{
    for (const std::string text : {"", "人事工资管理系统", "李明 Li-02，（备注）①", "Ｌé€"})
        EXPECT_EQ(fromGbk(toGbk(text)), text) << text;
}

TEST(Gbk, RefusesCharactersGbkCannotHoldAndNamesTheFirst)
{
    struct Case { std::string text; std::string named; };
    for (const Case& c : {Case{"张三😀", "😀"}, Case{"a한b😀", "한"}, Case{"😀🎉", "😀"}}) {
        try {
            toGbk(c.text);
            ADD_FAILURE() << "no error for " << c.text;
        } catch (const EncodingError& e) {
            EXPECT_EQ(std::string(e.what()), "字符“" + c.named + "”无法用GBK编码保存");
        }
    }
    EXPECT_THROW(toGbk("ab\xE4\xBA"), EncodingError);  // cut-off UTF-8
}

TEST(Gbk, RefusesBytesThatAreNotGbk)
{
    EXPECT_THROW(fromGbk("ok\xFF\xFF"), EncodingError);
    EXPECT_THROW(fromGbk("\xC8\xCB\xCA"), EncodingError);  // second character cut off
}

TEST(Gbk, WritesEveryLineWithCrLf)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.file("list.cfg");
    writeGbkLines(path, {"admin", "人事", ""});
    EXPECT_EQ(fileBytes(path), "admin\r\n\xC8\xCB\xCA\xC2\r\n\r\n");
    EXPECT_EQ(readGbkLines(path), (std::vector<std::string>{"admin", "人事", ""}));
}

TEST(Gbk, ReadsLinesEndedByCrLfOrLf)
{
    struct Case { std::string bytes; std::vector<std::string> lines; };
    const Case cases[] = {
        {"", {}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\r\n\r\nb\n", {"a", "", "b"}},
        {"\r\n", {""}},
        {"x\ry\r\n", {"x\ry"}},  // a lone CR is not a line end
        {"\xC8\xCB\xCA\xC2\r\n\xC0\xEE\n", {"人事", "李"}},
    };
    rsgz::test::TempDir dir;
    const std::string path = dir.file("in.txt");
    for (const Case& c : cases) {
        putBytes(path, c.bytes);
        EXPECT_EQ(readGbkLines(path), c.lines) << testing::PrintToString(c.bytes);
    }
}

TEST(Gbk, UnwritableTextLeavesNoFileBehind)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.file("new.cfg");
    EXPECT_THROW(writeGbkLines(path, {"张三", "😀"}), EncodingError);
    EXPECT_TRUE(entries(dir).isEmpty()) << entries(dir).join(",").toStdString();
}

TEST(Gbk, FailedWriteKeepsTheOldFile)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.file("old.cfg");
    writeGbkLines(path, {"旧"});
    const std::string before = fileBytes(path);
    EXPECT_THROW(writeGbkLines(path, {"新", "😀"}), EncodingError);
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(entries(dir), QStringList{"old.cfg"});
}

TEST(Gbk, FileErrorsThrow)
{
    rsgz::test::TempDir dir;
    EXPECT_THROW(readGbkLines(dir.file("missing.cfg")), std::runtime_error);
    EXPECT_THROW(writeGbkLines(dir.file("no/such/folder/x.cfg"), {"a"}), std::runtime_error);
}
