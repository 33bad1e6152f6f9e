#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/Money.h"
#include "payroll/BankLayout.h"

namespace rsgz::db {
class Connection;
class DataSet;
}  // namespace rsgz::db

namespace rsgz::payroll {

class SalaryView;

// A column the content lists offer: its title in the salary grid and the field of the view behind it.
struct BankColumn {
    std::string title, field;
};
// The grid's columns in grid order.
std::vector<BankColumn> bankColumns(const SalaryView& view);
// A part's content list: the column titles, then 银行卡号 and 其他.
std::vector<std::string> bankContentList(const std::vector<BankColumn>& columns);

// An amount in whole fen. Banks pay fen: a value with a fraction of a fen is rounded half away from
// zero (四舍五入), and *rounded says so. Exact: the amount is fixed point, never a binary fraction.
int64_t toFen(db::Money amount, bool* rounded);

// Bank card numbers by employee number, read in one statement the first time one is asked for.
// Employee numbers compare ignoring Latin case, as the database compares them.
class BankCards {
public:
    explicit BankCards(db::Connection& conn) : conn_(conn) {}
    // The card of the one employee with this number; empty when there is none or more than one.
    std::string cardOf(const std::string& employee);

private:
    struct Entry {
        int count = 0;
        std::string card;
    };
    db::Connection& conn_;
    bool loaded_ = false;
    std::unordered_map<std::string, Entry> cards_;
};

// One row of the view as a bank record.
struct BankRecord {
    std::string text;  // as the preview shows it
    std::string gbk;   // the bytes the file holds; empty when a character could not be encoded
    std::string unencodable;  // else empty: which part held which character GBK cannot hold
    int rounded = 0;          // amounts that were not whole fen
    bool hasAmount = false;   // the record pays an amount (a money column among its parts)
    db::Money amount;         // that amount, rounded to the fen
    std::vector<std::string> problems;  // parts that would not read as the bank expects
};

// Builds the records of the rows of a salary view by a layout. The view's computed tax and net pay
// are the values shown, as the grid shows them.
class BankRecordBuilder {
public:
    BankRecordBuilder(const BankLayout& layout, const SalaryView& view, const db::DataSet& rows, BankCards& cards);

    BankRecord build(int row) const;
    // Parts whose content names no column of the view: they stay empty. Said once, not per row.
    const std::vector<std::string>& unresolved() const { return unresolved_; }

private:
    enum class Source { Fixed, Card, Field, RowNumber, None };
    struct Part {
        const BankPart* setting = nullptr;
        Source source = Source::None;
        int field = -1;
        bool money = false;
        std::string pad;  // the padding text in GBK
    };
    std::string valueText(int index, const Part& p, int row, BankRecord& r) const;
    void addPart(int index, const Part& p, int row, BankRecord& r) const;

    const BankLayout& layout_;
    const db::DataSet& rows_;
    BankCards& cards_;
    int employeeField_ = -1;
    std::string separator_, separatorGbk_;
    std::string badSetting_;  // a separator or padding text that GBK cannot hold
    std::array<Part, BankLayout::kParts> parts_;
    int amountPart_ = -1;
    std::vector<std::string> unresolved_;
};

}  // namespace rsgz::payroll
