#pragma once
#include <string>
#include <vector>

#include "db/Money.h"

namespace rsgz::db {
class DataSet;
}

namespace rsgz::payroll {

class BankRecordBuilder;

// The records of every row of a view, in the view's order, and what the operator is to hear of
// them before the file is written.
struct BankBatch {
    std::string bytes;  // the whole file: each record in GBK followed by CR LF
    int rows = 0;
    int rounded = 0;         // amounts rounded to the fen
    bool hasAmount = false;  // the layout pays an amount (a money column among its parts)
    db::Money total;         // the sum of the records' amounts
    std::vector<std::string> months;    // "2024年03月", of the rows, in order
    std::vector<std::string> problems;  // the first few, naming the employee
    int moreProblems = 0;               // beyond those listed
    std::string unencodable;            // the first record that cannot be written, naming the employee

    // "5000 条记录，金额合计 123.45 元", with the rounded amounts when there were any.
    std::string summary() const;
    // The problems as lines for a notice, with a last line for those not listed.
    std::string problemText() const;
};

// Builds every row of `rows` (without moving its cursor). Stops collecting bytes at the first row
// GBK cannot hold, but still counts and totals every row so the preview can say what the file holds.
BankBatch buildBankBatch(const BankRecordBuilder& builder, const db::DataSet& rows);

// The employee a row belongs to, as messages name it: 员工“张三”（编号 0012）.
std::string employeeOf(const db::DataSet& rows, int row);

// Writes the file whole or not at all: beside the target, renamed over it when complete. Throws
// std::runtime_error with the reason in words.
void writeBankFile(const std::string& path, const std::string& bytes);

// Where the file goes unless the operator says otherwise: df.txt in the user's home folder.
std::string defaultBankFilePath();

}  // namespace rsgz::payroll
