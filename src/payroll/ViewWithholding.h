#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <set>
#include <unordered_map>
#include <vector>

#include "payroll/YearToDate.h"

namespace rsgz::db {
class Connection;
}

namespace rsgz::payroll::tax {

// The cumulative withholding of the rows one salary view shows: the year-to-date figures read once
// for every month the view holds, then each row's tax from its displayed values. The figures of
// every row stay for the salary card.
class ViewWithholding {
public:
    ViewWithholding(db::Connection& conn, const std::string& set);
    // The set withholds cumulatively (else the month table taxes it as before).
    bool cumulative() const { return kinds_.cumulative; }

    struct Row {
        int64_t id = 0;
        std::string employee, year, month;  // as stored
        bool closed = false;
        Money storedTax;  // a closed row's
    };
    // The rows' months and employees, before any row's tax is asked: one read per month shown.
    void prepare(const std::vector<Row>& rows);
    // The tax of a row from its displayed values by column (formula items computed); its figures
    // are kept by the row's id.
    Money taxOf(const Row& row, const std::function<Money(const std::string&)>& valueOf);
    const CumulativeFigures* figuresOf(int64_t id) const;
    // The months still open before those the view shows (of any set), as the view names them.
    std::vector<std::string> openMonths() const;
    // The notice of them, empty when there are none.
    std::string openMonthsNote() const;

private:
    db::Connection& conn_;
    SetKinds kinds_;
    // By (year, month) for a view of one month in a year; by (year, 0) for a view of many months
    // of a year, read once up to December.
    std::map<std::pair<int, int>, std::unique_ptr<YearToDate>> years_;
    std::unordered_map<int64_t, CumulativeFigures> figures_;
    std::set<std::pair<int, int>> shown_;  // the (year, month) of the rows shown
};

// The lines of a row's cumulative figures as the salary card shows them: caption and amount text.
// The eight of every row, then the bonus taxed on its own and its warning when there is one.
std::vector<std::pair<std::string, std::string>> cardLines(const CumulativeFigures& f);

}  // namespace rsgz::payroll::tax
