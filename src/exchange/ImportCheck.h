#pragma once
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "db/Connection.h"
#include "db/DataSet.h"
#include "db/Value.h"
#include "exchange/SourceFile.h"

namespace rsgz::exchange {

// One thing in the file or the mapping that stops the import, as the user is told of it.
struct ImportProblem {
    int line = 0;            // row in the file; 0 for a problem of the mapping
    std::string column;      // the source column
    std::string text;
};

// A row ready to be written: employee column name and the value it takes.
using ImportRow = std::vector<std::pair<std::string, db::Value>>;

// Checks a whole source table against the employee table before anything is written: every mapped
// value must fit its column, each row needs an employee number and a name, and no employee number
// may repeat, in the file or against the employees already stored. Produces the rows to write.
class ImportCheck {
public:
    // standardItems: the numbered items of the window (item n is standardItems[n-1]).
    ImportCheck(db::Connection& conn, std::vector<std::string> standardItems);

    // boxes: the number box of each source column. Returns the problems found (at most maxProblems);
    // when there are none, rows() holds one row per source row.
    std::vector<ImportProblem> run(const SourceTable& table, const std::vector<std::string>& boxes,
                                   const std::function<void(int checked)>& progress = {});
    std::vector<ImportRow>& rows() { return rows_; }

    static constexpr size_t kMaxProblems = 20;

private:
    void checkMapping(const std::vector<std::string>& boxes, const SourceTable& table);
    void problem(int line, const std::string& column, std::string text);
    void checkRows(const SourceTable& table, const std::function<void(int)>& progress);
    void checkRow(const SourceTable& table, size_t r, ImportRow& out);
    void checkEmployeeNumbers(const SourceTable& table);
    bool full() const { return problems_.size() >= kMaxProblems; }

    db::Connection& conn_;
    std::vector<std::string> items_;
    std::vector<std::pair<size_t, std::string>> targets_;  // source column -> employee column
    std::unique_ptr<db::DataSet> scratch_;  // a new employee row that is never posted
    std::vector<ImportProblem> problems_;
    std::vector<ImportRow> rows_;
};

// A number box read: 0 (or an empty box) for a column not imported, 1 to items for an item, -1 for
// anything else.
int mappingNumber(const std::string& box, size_t items);

// The notice for a refused import: what was found, row by row.
std::string problemNotice(const std::vector<ImportProblem>& problems);

}  // namespace rsgz::exchange
