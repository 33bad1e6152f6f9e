#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "db/Gbk.h"
#include "support/TempDir.h"

using rsgz::db::EncodingError;
using rsgz::db::cutGb18030;
using rsgz::db::fromGb18030;
using rsgz::db::fromGbk;
using rsgz::db::readSettingsLines;
using rsgz::db::toGb18030;
using rsgz::db::toGbk;
using rsgz::db::writeSettingsLines;

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

// Files of earlier installations are GBK; the program now writes GB18030. Every character GBK holds
// must keep its bytes both ways, or an old file would read differently.
TEST(Gb18030, EveryGbkCharacterKeepsItsBytes)
{
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
            std::string text;
            try {
                text = fromGbk(bytes);
            } catch (const EncodingError&) {
                continue;  // no character there
            }
            ++characters;
            ASSERT_EQ(toGb18030(text), bytes) << text;
            ASSERT_EQ(fromGb18030(bytes), text);
        }
    EXPECT_GT(characters, 20000);
}

TEST(Gb18030, HoldsWhatGbkCannotAndCutsOnlyBetweenCharacters)
{
    struct Case { std::string text, bytes; };
    for (const Case& c : {Case{"王䶮", "\xCD\xF5\xFE\x9F"}, Case{"𠀀", "\x95\x32\x82\x36"}, Case{"a😀", "a\x94\x39\xFC\x36"},
                          Case{"À", "\x81\x30\x86\x38"}}) {
        EXPECT_EQ(toGb18030(c.text), c.bytes) << c.text;
        EXPECT_EQ(fromGb18030(c.bytes), c.text);
    }
    struct Cut { std::string bytes; size_t capacity; std::string kept; };
    const Cut cuts[] = {
        {"a\x95\x32\x82\x36", 4, "a"},           // a four-byte character is not split
        {"a\x95\x32\x82\x36", 5, "a\x95\x32\x82\x36"},
        {"\xCD\xF5\xFE\x9F", 3, "\xCD\xF5"},        // nor a two-byte one
        {"ab", 0, ""},
    };
    for (const Cut& c : cuts) EXPECT_EQ(cutGb18030(c.bytes, c.capacity), c.kept) << c.capacity;
    EXPECT_THROW(toGb18030("ab\xE4\xBA"), EncodingError);
}

TEST(Gbk, WritesEveryLineWithCrLf)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.file("list.cfg");
    writeSettingsLines(path, {"admin", "人事", ""});
    EXPECT_EQ(fileBytes(path), "admin\r\n\xC8\xCB\xCA\xC2\r\n\r\n");
    EXPECT_EQ(readSettingsLines(path), (std::vector<std::string>{"admin", "人事", ""}));
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
        EXPECT_EQ(readSettingsLines(path), c.lines) << testing::PrintToString(c.bytes);
    }
}

TEST(Gbk, UnwritableTextLeavesNoFileBehind)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.file("new.cfg");
    EXPECT_THROW(writeSettingsLines(path, {"张三", "ab\xE4\xBA"}), EncodingError);  // cut-off UTF-8
    EXPECT_TRUE(entries(dir).isEmpty()) << entries(dir).join(",").toStdString();
}

TEST(Gbk, FailedWriteKeepsTheOldFile)
{
    rsgz::test::TempDir dir;
    const std::string path = dir.file("old.cfg");
    writeSettingsLines(path, {"旧"});
    const std::string before = fileBytes(path);
    EXPECT_THROW(writeSettingsLines(path, {"新", "ab\xE4\xBA"}), EncodingError);
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(entries(dir), QStringList{"old.cfg"});
}

TEST(Gbk, FileErrorsThrow)
{
    rsgz::test::TempDir dir;
    EXPECT_THROW(readSettingsLines(dir.file("missing.cfg")), std::runtime_error);
    EXPECT_THROW(writeSettingsLines(dir.file("no/such/folder/x.cfg"), {"a"}), std::runtime_error);
}
