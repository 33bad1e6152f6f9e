#include "db/WorkLock.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>

#include "db/Connection.h"

namespace rsgz::db {

namespace {

constexpr const char* kWholeKey = "整个数据库";

// --- a file: the locks of the connections in this program ------------------------------------------

struct FileHold {
    const Connection* owner;
    bool shared;
    int count;
    std::string clerk;
};

std::mutex fileMutex;
std::map<std::string, std::vector<FileHold>> fileHolds;  // by file and key

std::string fileOf(const Connection& conn)
{
    std::error_code ec;
    const auto canonical = std::filesystem::weakly_canonical(conn.path(), ec);
    return ec ? conn.path() : canonical.string();
}

// Takes the key for owner, or returns the clerks who hold it against it (nothing taken then).
std::vector<std::string> tryFile(const Connection& owner, const std::string& key, bool shared, const std::string& clerk)
{
    std::lock_guard lock(fileMutex);
    std::vector<FileHold>& holds = fileHolds[key];
    std::vector<std::string> against;
    for (const FileHold& h : holds)
        if (h.owner != &owner && (!shared || !h.shared)) against.push_back(h.clerk);
    if (!against.empty()) return against;
    const auto mine = std::find_if(holds.begin(), holds.end(), [&](const FileHold& h) { return h.owner == &owner && h.shared == shared; });
    if (mine != holds.end()) ++mine->count;
    else holds.push_back({&owner, shared, 1, clerk});
    return {};
}

void releaseFile(const Connection& owner, const std::string& key, bool shared)
{
    std::lock_guard lock(fileMutex);
    const auto it = fileHolds.find(key);
    if (it == fileHolds.end()) return;
    auto& holds = it->second;
    const auto mine = std::find_if(holds.begin(), holds.end(), [&](const FileHold& h) { return h.owner == &owner && h.shared == shared; });
    if (mine != holds.end() && --mine->count == 0) holds.erase(mine);
    if (holds.empty()) fileHolds.erase(it);
}

// --- a server: its advisory locks, and the sessions holding them ----------------------------------

bool tryServer(Connection& conn, long long key, bool shared, bool transactional)
{
    std::string fn = transactional ? "pg_try_advisory_xact_lock" : "pg_try_advisory_lock";
    if (shared) fn += "_shared";
    Statement st = conn.prepareNative("select " + fn + "(?)");
    st.bind(1, int64_t{key});
    return st.step() && st.integer(0) != 0;
}

void releaseServer(Connection& conn, long long key, bool shared)
{
    Statement st = conn.prepareNative(shared ? "select pg_advisory_unlock_shared(?)" : "select pg_advisory_unlock(?)");
    st.bind(1, int64_t{key});
    st.step();
}

// The operators of the other sessions holding the key: the application name the program gave the
// session, else the server's user.
std::vector<std::string> serverHolders(Connection& conn, long long key)
{
    const auto bits = static_cast<unsigned long long>(key);
    Statement st = conn.prepareNative(
        "select a.application_name, a.usename from pg_locks l join pg_stat_activity a on a.pid = l.pid "
        "where l.locktype = 'advisory' and l.granted and l.pid <> pg_backend_pid() "
        "and l.database = (select oid from pg_database where datname = current_database()) "
        "and l.classid = ? and l.objid = ? and l.objsubid = 1");
    st.bind(1, static_cast<int64_t>(bits >> 32));
    st.bind(2, static_cast<int64_t>(bits & 0xFFFFFFFFull));
    std::vector<std::string> names;
    while (st.step()) {
        std::string name = readApplicationName(st.textOrEmpty(0));
        if (name.empty()) name = st.textOrEmpty(1);
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(std::move(name));
    }
    return names;
}

std::string clerksText(const std::vector<std::string>& clerks)
{
    if (clerks.empty()) return "另一位操作员";
    std::string text = "操作员";
    for (size_t i = 0; i < clerks.size(); ++i) text += (i ? "、“" : "“") + clerks[i] + "”";
    return text;
}

}  // namespace

long long WorkLock::serverKey(const std::string& key)
{
    // FNV-1a over the key's bytes: the same number in every program, whatever its build.
    unsigned long long h = 14695981039346656037ull;
    for (const char c : "rsgz:" + key) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return static_cast<long long>(h);
}

WorkLock WorkLock::part(Connection& conn, const std::string& key, const std::string& what, const std::string& clerk)
{
    WorkLock lock(&conn, conn.isServer() ? std::string() : fileOf(conn));
    const bool inTx = conn.isServer() && conn.inTransaction();
    const long long whole = serverKey(kWholeKey);
    const long long mine = serverKey(key);
    auto refuse = [&](long long against, const std::vector<std::string>& fileClerks, const std::string& doing) {
        const std::vector<std::string> clerks = conn.isServer() ? serverHolders(conn, against) : fileClerks;
        lock.release();
        throw LockRefused(clerksText(clerks) + doing + "，请稍后再试。", clerks);
    };
    if (conn.isServer()) {
        if (!tryServer(conn, whole, true, inTx)) refuse(whole, {}, "正在维护整个数据库，现在不能处理" + what);
        lock.holdServer({kWholeKey, whole, true, inTx});
        if (!tryServer(conn, mine, false, inTx)) refuse(mine, {}, "正在处理" + what);
        lock.holdServer({key, mine, false, inTx});
        return lock;
    }
    if (auto against = tryFile(conn, lock.fileKey_ + '\n' + kWholeKey, true, clerk); !against.empty())
        refuse(whole, against, "正在维护整个数据库，现在不能处理" + what);
    lock.held_.push_back({kWholeKey, whole, true, false});
    if (auto against = tryFile(conn, lock.fileKey_ + '\n' + key, false, clerk); !against.empty())
        refuse(mine, against, "正在处理" + what);
    lock.held_.push_back({key, mine, false, false});
    return lock;
}

WorkLock WorkLock::whole(Connection& conn, const std::string& what, const std::string& clerk)
{
    WorkLock lock(&conn, conn.isServer() ? std::string() : fileOf(conn));
    const long long whole = serverKey(kWholeKey);
    std::vector<std::string> against;
    if (conn.isServer()) {
        const bool inTx = conn.inTransaction();
        if (tryServer(conn, whole, false, inTx)) {
            lock.holdServer({kWholeKey, whole, false, inTx});
            return lock;
        }
        against = serverHolders(conn, whole);
    } else {
        against = tryFile(conn, lock.fileKey_ + '\n' + kWholeKey, false, clerk);
        if (against.empty()) {
            lock.held_.push_back({kWholeKey, whole, false, false});
            return lock;
        }
    }
    throw LockRefused(clerksText(against) + "正在使用数据库，现在不能进行" + what + "，请等其完成后再试。", against);
}

WorkLock::WorkLock(WorkLock&& o) noexcept
    : conn_(o.conn_), fileKey_(std::move(o.fileKey_)), held_(std::move(o.held_))
{
    o.held_.clear();
}

WorkLock::~WorkLock() { release(); }

void WorkLock::release() noexcept
{
    while (!held_.empty()) {
        const Held h = held_.back();
        held_.pop_back();
        if (!conn_->isServer()) {
            releaseFile(*conn_, fileKey_ + '\n' + h.name, h.shared);
            continue;
        }
        if (h.transactional) continue;  // ends with its transaction
        try {
            // A failed transaction takes nothing but its end; the lock stays until the session's.
            if (!conn_->transactionFailed()) releaseServer(*conn_, h.key, h.shared);
        } catch (...) {
            // A session that cannot be told any more is gone, and its locks with it.
        }
        conn_->letGoSession();
    }
}

// A lock of the session (not of a transaction) is the session's: while it is held, a connection
// that broke off is not silently made afresh without it.
void WorkLock::holdServer(const Held& h)
{
    held_.push_back(h);
    if (!h.transactional) conn_->holdSession();
}

// --- the operator's name as the server keeps it -------------------------------------------------

std::string writeApplicationName(const std::string& name)
{
    constexpr size_t kLimit = 63;
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    size_t i = 0;
    while (i < name.size()) {
        // One whole character at a time: its lead byte and the continuation bytes after it.
        size_t end = i + 1;
        while (end < name.size() && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) ++end;
        std::string written;
        for (size_t j = i; j < end; ++j) {
            const auto c = static_cast<unsigned char>(name[j]);
            if (c >= 0x20 && c < 0x7F && c != '%') {
                written += static_cast<char>(c);
            } else {
                written += '%';
                written += hex[c >> 4];
                written += hex[c & 0xF];
            }
        }
        if (out.size() + written.size() > kLimit) break;
        out += written;
        i = end;
    }
    return out;
}

std::string readApplicationName(const std::string& stored)
{
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        return -1;
    };
    std::string out;
    for (size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] == '%' && i + 2 < stored.size()) {
            const int hi = digit(stored[i + 1]), lo = digit(stored[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out += static_cast<char>(hi * 16 + lo);
                i += 2;
                continue;
            }
        }
        out += stored[i];
    }
    return out;
}

}  // namespace rsgz::db
