#pragma once
#include <string>
#include <vector>

namespace rsgz::db {

class Connection;

// Creates every table and index of the program's newest schema on an empty database: the generated
// tables, the five the program also creates with statements of its own, and the indexes; and
// records the schema version.
void createSchema(Connection& conn);

// A table of the file whose columns are not those the program creates.
struct TableDifference {
    std::string table;
    std::vector<std::string> missingColumns, extraColumns;
    std::vector<std::string> changedColumns;  // same name, other type, default, key or constraint
    bool otherOrder = false;                  // the same columns in another order
    // Neither of the above: the columns agree and the rest of the definition does not.
};

// How the schema of a database file differs from the one createSchemaAt makes for the file's own
// version (an older file is upgraded at login, so only a damaged or foreign schema is a difference). Objects the program
// adds by itself when it starts (its five run-time tables, every index) may be missing; anything
// else missing, anything more and anything defined otherwise is listed.
struct SchemaDifferences {
    std::vector<std::string> missingTables;
    std::vector<std::string> extraTables, extraIndexes, extraTriggers, extraViews;
    std::vector<TableDifference> changedTables;
    std::vector<std::string> changedIndexes;
    bool programTablesFound = false;  // at least one table of the program is in the file
    int fileVersion = 1;               // the schema version the file says it has
    bool newerVersion = false;         // made by a newer program: nothing else is compared
    bool empty() const;
};

// Compares the database file at path, read through a connection of its own that only reads, with
// a fresh schema made in memory. Throws DbError when the file cannot be read.
SchemaDifferences compareWithSchema(const std::string& path);

// What the engine makes of a file before its schema is read.
struct FileInspection {
    enum class Verdict { Sound, CannotOpen, NotADatabase, Damaged };
    Verdict verdict = Verdict::Sound;
    std::string engineText;  // the engine's own words, for a detail line
};
FileInspection inspectDatabaseFile(const std::string& path);

}  // namespace rsgz::db
