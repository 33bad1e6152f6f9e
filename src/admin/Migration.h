#pragma once
#include <string>
#include <vector>

#include "db/ServerTarget.h"
#include "db/TableCopy.h"

namespace rsgz::app {
class TDM;
}

namespace rsgz::admin {

// Moving an office between a database file and a database on a server: every table of a file
// copied into an empty server database, or of a server database into a new file, in one
// transaction on the target, with each table's row count and checksum compared on both sides.
// It asks and tells through interaction(); the live database is only read.
class Migration {
public:
    enum class Direction { FileToServer, ServerToFile };

    // Starts from the live database: a file goes to a server, a server's database to a file (the
    // server's boxes are filled from the live connection, its password left out).
    explicit Migration(app::TDM& dm);

    Direction direction;
    // FileToServer: the file read (the live file at first); ServerToFile: the new file written.
    std::string file;
    db::ServerTarget server;

    // The file dialog of the direction (open a file to read, or name the new file); false when
    // cancelled.
    bool chooseFile();
    // Checks what was filled in, copies, and tells the user how it ended. True when the target
    // holds the copy and every table agrees.
    bool run();
    // The tables of the last run with their counts and checksums on both sides (empty before the
    // copy got so far).
    const std::vector<db::TableCheck>& checks() const { return checks_; }
    int64_t copiedRows() const;

private:
    std::string refusal();
    db::ServerTarget effectiveServer() const;
    void copy(db::Connection& source, db::Connection& target);
    void copyToServer();
    void copyToFile();

    app::TDM& dm_;
    std::vector<db::TableCheck> checks_;
    bool agreed_ = false;
};

}  // namespace rsgz::admin
