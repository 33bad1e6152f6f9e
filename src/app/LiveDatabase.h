#pragma once
#include <atomic>
#include <future>
#include <memory>
#include <optional>
#include <string>

namespace rsgz::app {

class TDM;

// The live database file at login, before the connection first opens it, and its full check after.

// Copies the template into data/ when the live file is missing or empty (a zero-length file holds
// no tables; opened as it is it would lock every operator out). Throws DbError when the copy fails.
// Nothing to do when the connection is to a server; nor for checkLiveDatabase.
void ensureLiveDatabase(TDM& dm);

// Refuses, with a DbError in words for the user, a live file the program could not save into
// (read-only file or folder) and one that is damaged; the latter names the way out, a copy from
// bak. Only what the login reads is checked (the header, the schema, the operators' table): a few
// pages however large the file is; the rest is checked after the login by LiveFileCheck.
// A log of an unfinished run beside the file is the exception: opening the file would fold that
// log in for good, and a log left beside a file it does not belong to (an older copy put back
// after a crash) is how the file is most often damaged. Then the whole file is checked first,
// while the window keeps painting itself.
void checkLiveDatabase(TDM& dm);

// The engine's full structural check of the live file reads all of it: about a third of a second
// for 20,000 employees from the system's cache, seconds from a cold disk. It runs after the login
// on a thread of its own, on a connection that only reads, while the operator works.
class LiveFileCheck {
public:
    LiveFileCheck() = default;
    ~LiveFileCheck();  // breaks off a check still running
    LiveFileCheck(const LiveFileCheck&) = delete;
    LiveFileCheck& operator=(const LiveFileCheck&) = delete;

    // Starts the check of the file on a thread of its own (breaking off one still running).
    void start(const std::string& path);
    bool running() const { return running_.valid(); }
    // Once the check has ended, what it found (empty: sound), handed out once; nothing while it
    // runs, when none was started, or when the file could not be read for it.
    std::optional<std::string> finished();
    // Breaks off a check still running and drops its result: before the live file is replaced,
    // and when the program closes.
    void stop();

private:
    std::future<std::string> running_;
    std::shared_ptr<std::atomic<bool>> cancel_;
};

// What the user is told about a damaged live file: what the check found and the way back to the
// newest copy in bak. opening is the sentence that begins it.
std::string damagedMessage(const TDM& dm, const std::string& opening, const std::string& problems);

// The newest close-time copy in bak (bak/yyyymmdd.db), empty when there is none.
std::string latestBackup(const TDM& dm);

}  // namespace rsgz::app
