#include "app/ServerDailyCopy.h"

#include <optional>

#include "app/TDM.h"
#include "app/WorkLocks.h"
#include "db/Connection.h"
#include "db/SqlText.h"
#include "db/ServerDump.h"
#include "db/WorkLock.h"

namespace rsgz::app {

namespace {

std::string name(const char* n) { return db::sqlIdent(n); }

// The clerk who took the day's copy and when, if one did.
std::optional<std::string> takenBy(db::Connection& conn, const std::string& day)
{
    db::Statement st = conn.prepareNative("select " + name("操作员") + ", " + name("时间") + " from " + name("每日备份") + " where "
                                          + name("日期") + " = ?");
    st.bind(1, day);
    if (!st.step()) return std::nullopt;
    std::string time = st.textOrEmpty(1).substr(0, 16);
    const std::string who = st.textOrEmpty(0).empty() ? "另一位操作员" : st.textOrEmpty(0);
    return who + (time.size() >= 16 ? "于" + time.substr(11, 5) : std::string());
}

std::string leftNote(const std::string& by) { return "今天的自动备份已由" + by + "做好，这次关闭没有再备份。"; }

}  // namespace

std::string takeServerDailyCopy(TDM& dm, const std::string& file, const QDateTime& now)
{
    db::Connection& conn = dm.DMADO;
    const std::string day = now.date().toString(QStringLiteral("yyyyMMdd")).toStdString();
    const std::string clerk = operatorName(dm);
    try {
        if (const auto by = takenBy(conn, day)) return leftNote(*by);
        // A clerk closing at the same moment takes the copy while the other leaves it.
        std::optional<db::WorkLock> lock;
        try {
            lock.emplace(db::WorkLock::part(conn, "每日备份/" + day, "今天的自动备份", clerk));
        } catch (const db::LockRefused& e) {
            // Another clerk is taking it this moment, or is restoring the whole database.
            return std::string("这次关闭没有自动备份：") + e.what();
        }
        if (const auto by = takenBy(conn, day)) return leftNote(*by);
        db::ServerDump tools(*conn.server());
        tools.dump(file, static_cast<int>(conn.tableNames().size()));
        db::Statement st = conn.prepareNative("insert into " + name("每日备份") + " (" + name("日期") + ", " + name("操作员") + ", "
                                              + name("时间") + ") values (?, ?, ?)");
        st.bind(1, day).bind(2, clerk).bind(3, now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString());
        st.run();
    } catch (const std::exception&) {
        // Nothing is reported at close.
    }
    return {};
}

}  // namespace rsgz::app
