#pragma once
#include <atomic>
#include <future>
#include <memory>
#include <string>

namespace rsgz::app {

class TDM;

// The live database file at login, before the connection first opens it.

// Copies the template into data/ when the live file is missing or empty (a zero-length file holds
// no tables; opened as it is it would lock every operator out). Throws DbError when the copy fails.
void ensureLiveDatabase(TDM& dm);

// The engine's structural check of the live file reads all of it: about a third of a second for
// 20,000 employees from the system's cache, seconds from a cold disk. The login window starts it
// as it opens, so that it runs while the operator types the password.
class LiveFileCheck {
public:
    LiveFileCheck() = default;
    ~LiveFileCheck();  // breaks off a check still running
    LiveFileCheck(const LiveFileCheck&) = delete;
    LiveFileCheck& operator=(const LiveFileCheck&) = delete;

    // Starts the check of the file on a thread of its own, when it is there to be checked.
    void start(const std::string& path);
    // What the check found (empty: sound). Waits beside the window for a check still running, and
    // checks now when none was started for this path.
    std::string result(const std::string& path);

private:
    void stop();

    std::string path_;
    std::future<std::string> running_;
    std::shared_ptr<std::atomic<bool>> cancel_;
};

// Refuses, with a DbError in words for the user, a live file the program could not save into
// (read-only file or folder) and one that fails the check; the latter names the way out, a copy
// from bak.
void checkLiveDatabase(TDM& dm, LiveFileCheck& check);

// The newest close-time copy in bak (bak/yyyymmdd.db), empty when there is none.
std::string latestBackup(const TDM& dm);

}  // namespace rsgz::app
