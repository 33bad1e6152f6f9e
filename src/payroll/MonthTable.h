#pragma once
#include <functional>
#include <string>

#include "db/SqlText.h"

namespace rsgz::db {
class Connection;
}

namespace rsgz::payroll {

// A month's salary table is the rows of 工资表 with one set name, one year and one month: the year
// as its digits, the month always as two ("03").
struct Period {
    std::string set;
    std::string year;
    std::string month;

    static Period of(std::string set, int year, int month);
    Period previous() const;  // January goes back to December of the year before
    // The three lines that select the month, each value through the quoting helper.
    db::SqlLines conditionLines() const;
};

// Generating, copying, synchronising and deleting a month. Each runs in one transaction: an error
// or a kill part way leaves the month as it was. All values are bound parameters.
class MonthTable {
public:
    explicit MonthTable(db::Connection& conn) : conn_(conn) {}

    // Called after each employee (or copied row) with the share done, 0 … 100; it may throw to
    // stop the run, which then writes nothing.
    std::function<void(int percent)> progress;

    int rowCount(const Period& p);
    int closedCount(const Period& p);

    // One row per employee of the set in payroll: the employee's name, grade and departments,
    // 出勤天数 30, open, every gz column 0 and each item of the set its grade's default amount or,
    // without one, the item's initial value. Returns the rows written.
    int generateFromSet(const Period& p);

    // The previous month's rows of employees still in payroll, with the new period and open; the
    // entered columns as they were, the computed ones (formula items, tax, net pay) 0, to be worked
    // out afresh. A previous month without rows generates from the set instead.
    int copyPreviousMonth(const Period& p);

    struct SyncResult {
        int removed = 0;        // rows of employees taken out of payroll
        int updated = 0;
        int added = 0;          // employees who joined the set
        bool closedMonth = false;  // refused: the month has closed rows
    };
    // Brings an existing month in line with the employee records. A month with a closed row is
    // refused whole: nothing of it is added, changed or removed.
    SyncResult synchronise(const Period& p);

    // Deletes the month's rows, closed ones too. Returns how many.
    int remove(const Period& p);

private:
    struct SetData;
    SetData readSet(const std::string& set);
    void report(int done, int total);

    db::Connection& conn_;
};

}  // namespace rsgz::payroll
