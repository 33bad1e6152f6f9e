#pragma once
#include <functional>
#include <string>
#include <vector>

namespace rsgz::app {
class TDM;
}

namespace rsgz::admin {

// The four maintenance operations of the system group: backup, restore, compaction and
// initialization of the live database. They ask and tell through interaction(); the connection of
// the data module is closed and opened again around every change of the file. On a database
// server the same operations use the server's tools instead of files (MaintenanceServer.cpp): the
// backup is the server's archive, the restore loads one back, the compaction is the server's own.
class Maintenance {
public:
    explicit Maintenance(app::TDM& dm);

    // Ends the program the ordinary way (the close-time copy included) after a restore; the
    // restored file is the live one by then. Empty: nothing happens.
    std::function<void()> closeProgram;

    void backup();
    void restore();
    void compact();
    void initialize();

    // The tables the initialization empties, in the order it empties them; all other tables
    // (operators, dictionary, departments, company, tax brackets, bank layouts, grades …) are kept.
    static const std::vector<std::string>& clearedTables();
    // Where compaction writes the new file before it replaces the live one.
    std::string compactPath() const;
    // The safety copy of the live database a restore takes first, named after the moment (on a
    // server an archive of the database).
    std::string safetyCopyPath() const;

private:
    void replaceLiveFile(const std::string& chosen);
    void reopen();
    bool passwordConfirmed() const;
    // The server's halves.
    void backupServer(const std::string& target);
    void replaceServerRows(const std::string& chosen);
    void compactServer();

    app::TDM& dm_;
};

}  // namespace rsgz::admin
