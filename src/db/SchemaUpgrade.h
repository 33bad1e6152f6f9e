#pragma once
#include <string>
#include <utility>
#include <vector>

#include "db/Schema.h"

namespace rsgz::db {

class Connection;

// The schema grows in numbered versions. A database keeps its version in the file's header (the
// engine's user version; the files of the first version left it 0, which is read as 1). Each step
// leads from the version before it to its own: the tables it adds, the columns it appends to
// tables of earlier versions, and statements run after them (indexes, first values). A fresh
// database is made at the newest version; an older one is brought up to it step by step.
struct SchemaStep {
    int version = 0;  // the version a database has after the step
    std::vector<TableDef> tables;
    std::vector<std::pair<std::string, ColumnDef>> columns;  // table, column appended to it
    std::vector<std::string> statements;                     // in SQLite's words, run last
};

// The additions of one owner to a step: merged into the step in the order the owners are listed.
struct SchemaAdditions {
    std::vector<TableDef> tables;
    std::vector<std::pair<std::string, ColumnDef>> columns;
    std::vector<std::string> statements;
};

const std::vector<SchemaStep>& schemaSteps();
int currentSchemaVersion();

// Every table as a database of that version has it (1 <= version <= currentSchemaVersion()).
std::vector<TableDef> schemaTablesAt(int version);

// The version the open database says it has (0 read as 1).
int schemaVersionOf(Connection& conn);
void setSchemaVersion(Connection& conn, int version);

// Creates the schema of that version on an empty database and records the version (tests and
// the comparison of an older file use older versions; the program makes the newest).
void createSchemaAt(Connection& conn, int version);

// Applies every step after the database's version inside the caller's transaction and records
// the newest version. Returns the version the database had. Throws DbError (the caller rolls back).
int applySchemaSteps(Connection& conn);

// The two owners of the second version's additions.
SchemaAdditions taxLawSchemaAdditions();
SchemaAdditions reminderSchemaAdditions();
// The third version's.
SchemaAdditions dailyCopySchemaAdditions();

}  // namespace rsgz::db
