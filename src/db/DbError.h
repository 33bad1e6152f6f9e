#pragma once
#include <stdexcept>
#include <string>

namespace rsgz::db {

// An error reported by the database: what kind of failure it is, the message for the user, the
// engine's own words (detail) and the statement that failed. what() is the message; windows show
// it in the standard error box. Callers decide by the kind, never by an engine's numbers.
class DbError : public std::runtime_error {
public:
    enum class Kind {
        Busy,        // another program holds the file locked for longer than the engine waits
        Constraint,  // the engine refused a row (a trigger, a check)
        Duplicate,   // a unique key refused a row: the user's value is already there
        StaleRow,    // the row to write is gone or holds other values than were read
        Damaged,     // the file is not a sound database
        Full,        // no room left on the disk for what had to be written
        ReadOnly,    // the file or its folder may not be written
        Lost,        // the connection to the database server broke off or could not be made
        Denied,      // the server refused the user: a wrong password, or no privilege for the work
        Other,
    };

    DbError(Kind kind, const std::string& message, std::string detail = {}, std::string statement = {})
        : std::runtime_error(message), kind_(kind), detail_(std::move(detail)), statement_(std::move(statement)) {}
    Kind kind() const { return kind_; }
    // The engine's own text, empty when the program found the fault itself.
    const std::string& detail() const { return detail_; }
    const std::string& statement() const { return statement_; }

private:
    Kind kind_;
    std::string detail_;
    std::string statement_;
};

// A misuse of a record set or a value that its column cannot take (too long, not a date …).
// Shown like a database error; the record set stays as it was.
class DataSetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Abandons an operation without a further message: a rule that has said why (through a notice)
// throws this, and everything up to the user's action unwinds quietly.
struct Abort {};
[[noreturn]] inline void abortSilently() { throw Abort{}; }

}  // namespace rsgz::db
