#pragma once
#include <functional>
#include <string>
#include <vector>

#include "db/ServerTarget.h"

namespace rsgz::db {

// What an archive of a server database holds, as its table of contents lists it.
struct DumpContents {
    std::string database;             // the database it was taken from
    std::vector<std::string> tables;  // the tables of the ordinary schema, in the archive's order
};

// The server's own tools (pg_dump, pg_restore and psql of postgresql-client) run as processes on
// one database. They are told the server, the database, the user and the password through their
// environment only, never on a command line, where every user of the machine could read them.
// Every failure is a DbError in words for the user, with the tool's own text as its detail.
class ServerDump {
public:
    explicit ServerDump(ServerTarget target);

    // The folder the tools are taken from; empty: the search path.
    std::string toolFolder;
    // Called while a tool runs (at least every tenth of a second): done of total steps. The
    // window showing progress repaints itself here.
    std::function<void(int done, int total)> onProgress;

    // The whole database as an archive in the tools' own compressed format, written beside file
    // and renamed over it only when complete. tables is how many to expect, for the progress.
    void dump(const std::string& file, int tables);
    // The archive's table of contents. A file that is no archive, or whose contents list is
    // damaged, is a Damaged error.
    DumpContents contents(const std::string& file);
    // Replaces every row of tables by the rows the archive holds, in one transaction: the rows are
    // deleted, the archive's rows loaded and the key counters set as the archive has them. Any
    // failure (a damaged archive, a column the table lacks, a privilege the user lacks) leaves
    // every row as it was. The tables and their definitions stay those of the live database.
    void restoreRows(const std::string& file, const std::vector<std::string>& tables);
    // Lets the server tidy its files and read its statistics afresh (VACUUM (ANALYZE)); tables
    // the user does not own are passed over by the server.
    void vacuum();

private:
    struct Run;
    Run run(const std::string& tool, const std::vector<std::string>& args, int total, int stepsBefore);

    ServerTarget target_;
};

}  // namespace rsgz::db
