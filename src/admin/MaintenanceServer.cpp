// The maintenance operations on a database server: the server's tools take the place of the file
// copies (db/ServerDump.h).
#include <algorithm>

#include "admin/Maintenance.h"
#include "admin/RestoreCheck.h"
#include "app/Interaction.h"
#include "app/Progress.h"
#include "app/TDM.h"
#include "db/ServerDump.h"

namespace rsgz::admin {

namespace {

db::ServerDump toolsFor(app::TDM& dm) { return db::ServerDump(*dm.DMADO.server()); }

// The tool's own words go below the program's, so that whoever looks after the server can tell
// what it refused.
std::string withDetail(const db::DbError& e)
{
    return e.detail().empty() ? std::string(e.what()) : std::string(e.what()) + "\r" + e.detail();
}

std::vector<std::string> missingFrom(const std::vector<std::string>& names, const std::vector<std::string>& in)
{
    std::vector<std::string> missing;
    for (const std::string& n : names)
        if (std::find(in.begin(), in.end(), n) == in.end()) missing.push_back(n);
    return missing;
}

// An archive of another database (another program's, or this program's of another version) has
// other tables; its rows would not fit the live tables, or would leave some of them empty.
void checkArchiveTables(const db::DumpContents& archive, const std::vector<std::string>& live)
{
    if (archive.tables.empty()) throw RestoreRefusal("选择的文件中没有任何数据表，不是本系统的数据库备份。", {});
    const std::vector<std::string> lacking = missingFrom(live, archive.tables);
    const std::vector<std::string> extra = missingFrom(archive.tables, live);
    if (lacking.empty() && extra.empty()) return;
    std::string why;
    if (!lacking.empty()) why += "其中缺少数据表 " + listedNames(lacking) + "。";
    if (!extra.empty()) why += "其中有本系统没有的数据表 " + listedNames(extra) + "。";
    throw RestoreRefusal("选择的文件不是本系统的数据库备份。", why);
}

}  // namespace

void Maintenance::backupServer(const std::string& target)
{
    db::ServerDump tools = toolsFor(dm_);
    const int tables = static_cast<int>(dm_.DMADO.tableNames().size());
    app::Progress progress("数据备份", "正在备份数据库，请稍候……", tables);
    tools.onProgress = [&](int done, int) { progress.step(done); };
    try {
        tools.dump(target, tables);
    } catch (const db::DbError& e) {
        throw db::DbError(e.kind(), withDetail(e));
    }
}

// The chosen archive is read and checked, and the live rows are kept in an archive of their own,
// before one transaction replaces every row; the tables themselves, their keys and the server's
// privileges on them stay as they are.
void Maintenance::replaceServerRows(const std::string& chosen)
{
    db::ServerDump tools = toolsFor(dm_);
    const std::vector<std::string> live = dm_.DMADO.tableNames();
    const int n = static_cast<int>(live.size());
    app::Progress progress("数据恢复", "正在恢复数据库，请稍候……", 3 * n);
    try {
        checkArchiveTables(tools.contents(chosen), live);
        tools.onProgress = [&](int done, int) { progress.step(done); };
        try {
            tools.dump(safetyCopyPath(), n);
        } catch (const db::DbError& e) {
            throw RestoreRefusal("恢复之前没能先备份现在的数据：" + std::string(e.what()), e.detail());
        }
        dm_.close_all_data();
        tools.onProgress = [&](int done, int) { progress.step(n + done); };
        tools.restoreRows(chosen, live);
    } catch (const db::DbError& e) {
        throw RestoreRefusal(e.what(), e.detail());
    }
}

void Maintenance::compactServer()
{
    try {
        app::Progress progress("压缩数据库", "正在整理数据库，请稍候……", 1);
        db::ServerDump tools = toolsFor(dm_);
        tools.vacuum();
    } catch (const db::DbError& e) {
        return dm_.ShowMessage_jd("操作失败\r" + withDetail(e));
    }
    dm_.ShowMessage_jd("操作成功");
}

}  // namespace rsgz::admin
