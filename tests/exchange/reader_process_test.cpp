// The reader process: what it hands over is checked on this side, and a child that hangs, floods,
// crashes or fails never takes the program with it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <chrono>

#include "ExchangeFixtures.h"
#include "exchange/ReaderProcess.h"
#include "exchange/TableStream.h"
#include "support/TempDir.h"

using namespace rsgz::exchange;
using rsgz::db::Value;
using namespace std::chrono_literals;

namespace {

SourceTable sampleTable()
{
    SourceTable t;
    t.columns = {"编号", "金额", "备注"};
    t.rows = {{Value(int64_t{-7}), Value(2.5), Value("甲\n乙")},
              {Value(), Value(rsgz::db::Money::fromUnits(123456)), Value(true)}};
    t.lines = {2, 5};
    return t;
}

std::string message(const std::function<void()>& f)
{
    try {
        f();
    } catch (const SourceError& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(TableStream, WhatIsWrittenIsReadBack)
{
    const auto d = tablestream::decode(tablestream::encodeTable(sampleTable()));
    ASSERT_EQ(d.kind, tablestream::Decoded::Kind::Table);
    EXPECT_EQ(d.table.columns, sampleTable().columns);
    EXPECT_EQ(d.table.rows, sampleTable().rows);
    EXPECT_EQ(d.table.lines, sampleTable().lines);
    EXPECT_EQ(tablestream::decode(tablestream::encodeTables({"表一", "Sheet 2"})).names,
              (std::vector<std::string>{"表一", "Sheet 2"}));
    EXPECT_EQ(tablestream::decode(tablestream::encodeFailure("坏了")).reason, "坏了");
}

// Every stream cut short is refused, and so are counts and lengths the bytes cannot hold: the
// reading side never allocates what a garbled stream claims.
TEST(TableStream, ShortOrGarbledStreamsAreRefused)
{
    const std::string good = tablestream::encodeTable(sampleTable());
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_THROW(tablestream::decode(good.substr(0, n)), SourceError) << "cut at " << n;

    auto patched = [&](size_t at, std::string bytes) { return good.substr(0, at) + bytes + good.substr(at + bytes.size()); };
    const std::string huge = "\xFF\xFF\xFF\x7F";
    const std::pair<std::string, const char*> cases[] = {
        {good + "x", "bytes after the end"},
        {patched(0, "XSGZ"), "wrong beginning"},
        {patched(8, "Q"), "unknown content"},
        {patched(9, huge), "column count far beyond the bytes"},
        {patched(13, huge), "name longer than the stream"},
        {patched(9, std::string("\xE8\x03\x00\x00", 4)), "a thousand columns in a few bytes"},
    };
    for (const auto& [bytes, what] : cases) EXPECT_THROW(tablestream::decode(bytes), SourceError) << what;

    // A row count that the bytes left cannot hold.
    SourceTable one;
    one.columns = {"a"};
    std::string oneColumn = tablestream::encodeTable(one);  // magic, 'T', 1, "a", 0 rows, 'Z'
    oneColumn.replace(8 + 1 + 4 + 5, 4, std::string("\x40\x42\x0F\x00", 4));  // a million rows
    EXPECT_THROW(tablestream::decode(oneColumn), SourceError);
}

class ReaderProcess : public ::testing::Test {
protected:
    // A stand-in for the reader: a shell script that misbehaves as told.
    std::string script(const std::string& body)
    {
        const std::string path = dir.file("reader" + std::to_string(++scripts) + ".sh");
        QFile f(QString::fromStdString(path));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("#!/bin/sh\n" + body + "\n").c_str());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        return path;
    }
    rsgz::test::TempDir dir;
    int scripts = 0;
};

TEST_F(ReaderProcess, AChildThatMisbehavesIsStoppedAndNamed)
{
    ReaderLimits limits;
    limits.time = 400ms;
    limits.outputBytes = 1 << 20;
    struct Case {
        const char* body;
        const char* reason;
    };
    const Case cases[] = {
        {"exec sleep 30", "时间超过了上限"},
        {"while :; do :; done", "时间超过了上限"},
        {"exec yes 我们读取", "输出超过了上限"},
        {"kill -SEGV $$", "异常结束（信号 11）"},
        {"exit 3", "内存超过了上限"},
        {"exit 1", "以错误结束（1）"},
    };
    for (const Case& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        const std::string said = message([&] { runReader(script(c.body), {}, limits); });
        EXPECT_NE(said.find(c.reason), std::string::npos) << c.body << ": " << said;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << c.body;
    }
    EXPECT_NE(message([&] { runReader(dir.file("none"), {}); }).find("找不到读取程序"), std::string::npos);
}

// The bounds are the child's own: address space, processor time, no core file, no file written,
// few open files, and none of the program's descriptors.
TEST_F(ReaderProcess, TheChildRunsWithinItsBounds)
{
    ReaderLimits limits;
    limits.time = 5s;
    limits.memoryBytes = size_t{256} << 20;
    // A descriptor of ours, open across exec, that the child must not have all the same.
    const int held = ::open(dir.file("held").c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(held, 0);
    const std::string out = runReader(
        script("echo \"$1|$2\"; ulimit -v; ulimit -t; ulimit -c; ulimit -f; ulimit -n; ls /proc/self/fd | wc -l"),
        {"read", "名单 一"}, limits);
    // ls's own descriptors: 0, 1, 2 and the one it reads the folder with.
    ::close(held);
    EXPECT_EQ(out, "read|名单 一\n262144\n6\n0\n0\n64\n4\n");
}

// A damaged Access database or .xls workbook: the reader fails, the program names the file.
TEST_F(ReaderProcess, DamagedFilesAreNamed)
{
    for (const char* name : {"x.xls", "x.mdb", "x.accdb"}) {
        const std::string path = dir.file(name);
        QFile f(QString::fromStdString(path));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(3000, '\x5A'));
        f.close();
        const std::string said = message([&] { openSourceFile(path)->tables(); });
        EXPECT_EQ(said.rfind("文件已损坏或不是受支持的格式：" + path + "\n", 0), 0u) << said;
    }
}

// Access databases cut short at two places that send libmdb astray: once into an endless loop,
// once into memory that grows until the bound stops it. Each is named as damaged in seconds, and
// the next file reads as before. (The bounds are those of the program, made shorter for a test.)
TEST_F(ReaderProcess, AccessFilesThatSendTheLibraryAstrayAreStopped)
{
    const std::string sample = rsgz::test::sharedFixture("ASampleDatabase.accdb");
    QFile whole(QString::fromStdString(sample));
    if (!whole.open(QIODevice::ReadOnly)) GTEST_SKIP() << "no ASampleDatabase.accdb in ../shared/fixtures";
    const QByteArray bytes = whole.readAll();
    // The file that ends the reader abnormally gets time to spare, so that a loaded machine cannot
    // turn its crash into a timeout.
    struct Cut {
        int size;
        const char* reason;
        std::chrono::seconds time;
    };
    const Cut cuts[] = {{441936, "时间超过了上限", 3s}, {435164, "异常结束", 8s}};
    for (const auto& [size, reason, time] : cuts) {
        ReaderLimits limits;
        limits.time = time;
        limits.memoryBytes = size_t{512} << 20;
        const std::string path = dir.file("cut" + std::to_string(size) + ".accdb");
        QFile cut(QString::fromStdString(path));
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
        cut.write(bytes.left(size));
        cut.close();
        const auto start = std::chrono::steady_clock::now();
        const std::string said = message([&] { openContainedFile(path, limits)->tables(); });
        EXPECT_EQ(said.rfind("文件已损坏或不是受支持的格式：" + path + "\n", 0), 0u) << said;
        EXPECT_NE(said.find(reason), std::string::npos) << said;
        EXPECT_LT(std::chrono::steady_clock::now() - start, time + 7s);
    }
    EXPECT_FALSE(openSourceFile(sample)->tables().empty());
}

// libmdb prints its complaints about a database cut short on the standard output; they must not
// run into what the reader hands over.
TEST_F(ReaderProcess, LibraryChatterStaysOutOfTheStream)
{
    const std::string nwind = rsgz::test::sharedFixture("nwind.mdb");
    QFile whole(QString::fromStdString(nwind));
    if (!whole.open(QIODevice::ReadOnly)) GTEST_SKIP() << "no nwind.mdb in ../shared/fixtures";
    const std::string path = dir.file("cut.mdb");
    QFile cut(QString::fromStdString(path));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(whole.read(88345));  // ends inside a table's pages: libmdb says so, on stdout
    cut.close();
    const auto tables = openSourceFile(path)->tables();
    EXPECT_NE(std::find(tables.begin(), tables.end(), "Shippers"), tables.end());
}

}  // namespace
