#pragma once
#include <stdexcept>
#include <string>

namespace rsgz::db {

// An error reported by the database engine: its code, its own message and the statement that failed.
// what() is the engine's text; windows show it in the standard error box.
class DbError : public std::runtime_error {
public:
    DbError(int code, const std::string& message, std::string statement = {})
        : std::runtime_error(message), code_(code), statement_(std::move(statement)) {}
    int code() const { return code_; }
    // The engine found no room left on the disk for what it had to write.
    bool diskFull() const { return (code_ & 0xFF) == kEngineFull; }
    const std::string& statement() const { return statement_; }

private:
    static constexpr int kEngineFull = 13;  // the engine's result code for a full disk
    int code_;
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
