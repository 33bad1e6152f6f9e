#pragma once
#include <string>
#include <vector>

#include "db/DbError.h"

namespace rsgz::db {

class Connection;

// A piece of work on shared data that only one clerk may do at a time: one month's salary table,
// or the whole database (initialization, restore). Held while the object lives and given back when
// it goes; a second clerk asking for the same work is refused at once, told who holds it.
//
// On a server the lock is the server's own (an advisory lock of the session), so it is held across
// the program's transactions, and a program that dies or loses its connection gives it back by
// itself. A part taken inside a running transaction ends with that transaction instead. On a file
// only one program works at a time; connections of the one program to the same file exclude each
// other in the same way (so two clerks can be played in one process), and one connection may take
// the same lock again while it holds it, as on a server.
//
// Whole and part exclude each other: while one clerk works on a month, the database is not
// initialized or restored under them, and the other way round.
class WorkLock {
public:
    // The part of the data named by key ("工资表/帐套/年/月"), described by what for the notice
    // ("帐套“工资”2026年03月的工资表"). clerk is the operator taking it: a connection to a file
    // tells it to the others in the program; on a server the session's application name does.
    // Throws LockRefused when another clerk holds the part or the whole database.
    static WorkLock part(Connection& conn, const std::string& key, const std::string& what, const std::string& clerk);
    // The whole database for work described by what ("数据初始化"). Throws LockRefused while any
    // other clerk holds any part or the whole.
    static WorkLock whole(Connection& conn, const std::string& what, const std::string& clerk);

    WorkLock(WorkLock&& o) noexcept;
    WorkLock& operator=(WorkLock&&) = delete;
    WorkLock(const WorkLock&) = delete;
    ~WorkLock();
    // Gives the lock back before the object goes. Never throws: a server that cannot be told has
    // lost the session, and with it the lock.
    void release() noexcept;

    // The server's number for a lock's key (a stable hash), for tests and for the list of holders.
    static long long serverKey(const std::string& key);

private:
    struct Held {
        std::string name;  // the key's text
        long long key;     // its number on a server
        bool shared;
        bool transactional;
    };
    WorkLock(Connection* conn, std::string fileKey) : conn_(conn), fileKey_(std::move(fileKey)) {}
    void holdServer(const Held& h);
    Connection* conn_;
    std::string fileKey_;     // the file the lock is on, for connections to a file
    std::vector<Held> held_;  // in the order taken, given back the other way round
};

// Another clerk holds the work: a Busy error whose message names them.
class LockRefused : public DbError {
public:
    LockRefused(const std::string& message, std::vector<std::string> holders)
        : DbError(Kind::Busy, message), holders_(std::move(holders)) {}
    // The operators holding it, as far as they could be found (empty: one who let go meanwhile).
    const std::vector<std::string>& holders() const { return holders_; }

private:
    std::vector<std::string> holders_;
};

// The operator's name as the server keeps a session's application name, which holds only
// printable Latin letters and signs in at most 63 bytes: every other byte (and the percent sign)
// as %XX, cut at a whole character. readApplicationName turns it back.
std::string writeApplicationName(const std::string& name);
std::string readApplicationName(const std::string& stored);

}  // namespace rsgz::db
