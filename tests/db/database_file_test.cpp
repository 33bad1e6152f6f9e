#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "support/StaleLog.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"

using namespace rsgz::db;
namespace fs = std::filesystem;

namespace {

std::set<std::string> filesIn(const std::string& dir)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

int rowsIn(const std::string& file, const std::string& table)
{
    Connection conn(file);
    DataSet ds(&conn, "check", {"select * from " + table});
    ds.open();
    return ds.recordCount();
}

TEST(DatabaseFile, ReadOnlyFileOrFolderIsRefusedBeforeTheEngineTouchesIt)
{
    struct Case {
        bool folder;
        const char* says;
    };
    for (const Case c : {Case{false, "是只读的"}, Case{true, "所在的文件夹"}}) {
        rsgz::test::TestDatabase db;
        const std::string live = db.livePath();
        const fs::path locked = c.folder ? fs::path(live).parent_path() : fs::path(live);
        const fs::perms before = fs::status(locked).permissions();
        fs::permissions(locked, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        Connection conn(live);
        try {
            conn.exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '行政')");
            ADD_FAILURE() << "a read-only database was opened";
        } catch (const DbError& e) {
            EXPECT_NE(std::string(e.what()).find(live), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
        EXPECT_FALSE(conn.isOpen());
        EXPECT_EQ(filesIn(fs::path(live).parent_path()), std::set<std::string>{"vesk.db"}) << "no log or index file";
        EXPECT_NE(unwritableReason(live), "");

        fs::permissions(locked, before);
        EXPECT_EQ(unwritableReason(live), "");
        EXPECT_NO_THROW(conn.exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '行政')"));
    }
}

TEST(DatabaseFile, QuickCheckFindsALogReplayedIntoAFileItDoesNotBelongTo)
{
    rsgz::test::TestDatabase db;
    EXPECT_EQ(quickCheckFile(db.livePath()), "");
    const std::string older = rsgz::test::leaveStaleLog(db.livePath());
    EXPECT_NE(quickCheckFile(db.livePath()), "");
    // The check only reads: the log is not folded into the file, which is still the older copy.
    EXPECT_TRUE(fs::exists(db.livePath() + "-wal"));
    fs::remove(db.livePath() + "-wal");
    fs::remove(db.livePath() + "-shm");
    EXPECT_EQ(quickCheckFile(db.livePath()), "");
    EXPECT_EQ(rowsIn(db.livePath(), "员工基本情况"), 600);
    Connection conn(older);
    EXPECT_EQ(conn.quickCheck(), "");
}

TEST(DatabaseFile, EveryCommitIsHeardAndACheckpointMakesTheFileAloneComplete)
{
    rsgz::test::TestDatabase db;
    Connection conn(db.livePath());
    int commits = 0;
    conn.setCommitListener([&] { ++commits; });
    conn.exec("insert into 帐套 (帐套编号, 帐套名称) values ('01', '行政')");
    {
        Transaction tx(conn);
        conn.exec("insert into 帐套 (帐套编号, 帐套名称) values ('02', '生产')");
        conn.exec("insert into 帐套 (帐套编号, 帐套名称) values ('03', '销售')");
        tx.commit();
    }
    EXPECT_EQ(commits, 2);

    // What another program copying only vesk.db gets, before and after the checkpoint.
    const std::string copy = db.programDir() + "copy.db";
    auto plainCopy = [&] {
        fs::copy_file(db.livePath(), copy, fs::copy_options::overwrite_existing);
        return rowsIn(copy, "帐套");
    };
    EXPECT_EQ(plainCopy(), 0) << "the rows are still only in the log";
    conn.checkpoint();
    EXPECT_EQ(plainCopy(), 3);
    conn.setCommitListener({});
    conn.exec("delete from 帐套");
    EXPECT_EQ(commits, 2);
}

TEST(DatabaseFile, AFailedCopyLeavesNothingBesideItsTarget)
{
    rsgz::test::TestDatabase db;
    rsgz::test::TempDir bak;
    // A leftover of a copy that was killed half-way, and a target name taken by a folder.
    for (const char* stray : {"day.db.part", "day.db.part-journal"}) fs::copy_file(db.livePath(), bak.file(stray));
    fs::create_directories(bak.file("day.db/inside"));
    Connection conn(db.livePath());
    EXPECT_THROW(conn.backupTo(bak.file("day.db")), DbError);
    EXPECT_EQ(filesIn(bak.path()), std::set<std::string>{"day.db"});

    fs::remove_all(bak.file("day.db"));
    conn.backupTo(bak.file("day.db"));
    EXPECT_EQ(filesIn(bak.path()), std::set<std::string>{"day.db"});
    EXPECT_EQ(quickCheckFile(bak.file("day.db")), "");
}

}  // namespace
