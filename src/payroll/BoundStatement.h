#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "db/Connection.h"
#include "db/Money.h"

namespace rsgz::payroll {

// A statement in SQLite's own words with its values bound as parameters, never spliced into the
// text. The payroll runs that write thousands of rows prepare each statement once, from the
// connection's cache, and bind row after row.
class BoundStatement {
public:
    BoundStatement(db::Connection& conn, const std::string& sql);

    BoundStatement& bind(int param, std::string_view text);
    BoundStatement& bind(int param, const std::optional<std::string>& text);  // nullopt binds NULL
    BoundStatement& bind(int param, db::Money amount);
    BoundStatement& bind(int param, double number);
    BoundStatement& bind(int param, int64_t number);
    BoundStatement& bindNull(int param);

    bool step() { return st_.step(); }  // true while rows come
    // Runs a statement that returns no rows and makes it ready for the next binding.
    void run();
    void reset();

    std::optional<std::string> text(int column) const;  // NULL as nullopt
    std::string textOrEmpty(int column) const { return text(column).value_or(std::string()); }
    db::Money money(int column) const;  // NULL as 0
    double number(int column) const;
    int64_t integer(int column) const;
    bool isNull(int column) const;

private:
    db::Connection& conn_;
    db::Statement st_;
};

}  // namespace rsgz::payroll
