#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "db/Money.h"
#include "db/SqlText.h"
#include "payroll/ViewWithholding.h"

namespace rsgz::db {
class Connection;
class DataSet;
}  // namespace rsgz::db

namespace rsgz::payroll {

// One item of a payroll set as the salary view uses it.
struct SalaryItem {
    std::string code;     // gz01 … gz39
    std::string name;     // 工资项目, the column title
    std::string formula;  // 计算公式, empty for an entered item
    bool taxFlag = false; // 是否所得税
    db::Money threshold;  // 个税起征点
    std::string taxLink;  // 个税关联: the name of the item the tax is taken from
};

// What one build of the view knows about its set: which columns are computed and how.
struct SalaryViewConfig {
    std::string set;
    std::vector<SalaryItem> items;  // by 工资代码
    std::string taxColumn, taxBaseColumn;
    db::Money threshold;
    std::string netColumn;
    std::vector<std::string> added, subtracted;
    std::vector<std::string> warnings;  // said once when the view is built, never per row
    db::SqlLines selectLines;           // up to and including " from 工资表"

    const SalaryItem* item(const std::string& code) const;
    // The expression a column is shown with: a formula item's formula (its stored value on a
    // closed row), else the column itself.
    std::string columnExpression(const std::string& column) const;
    bool isComputed(const std::string& column) const { return !column.empty() && (column == taxColumn || column == netColumn); }
    bool isFormula(const std::string& column) const;
};

// Reads the set's items and builds the select part of the view. A set without items (or no set)
// selects every column of 工资表.
SalaryViewConfig buildSalaryView(db::Connection& conn, const std::string& set);

// What narrows and orders the view, kept as data: every statement line is produced from it.
struct SalaryFilter {
    std::string set;
    // Field and node text, from the selected node up to its top-level ancestor.
    std::vector<std::pair<std::string, std::string>> nodes;
    std::string searchField, searchText;  // the quick search; acts when both are set
    std::string sortField;
    bool descending = false;

    // "where 工资帐套=…" and the "and" lines; the fields must be columns of the view.
    db::SqlLines conditionLines(const SalaryViewConfig& view) const;
    bool narrowedToNodes() const { return !nodes.empty(); }
};

// The salary view over the shared dataset gzb: its statement, the tax and net pay of every row
// (computed once when the rows are read), and closing and reopening the rows it shows.
class SalaryView {
public:
    SalaryView(db::Connection& conn, db::DataSet& gzb);

    // Builds the view for a set (reading the items and the bracket table) and keeps the filter's
    // set in step; node, search and sort stay as they are.
    void build(const std::string& set);
    const SalaryViewConfig& config() const { return config_; }
    SalaryFilter& filter() { return filter_; }
    const SalaryFilter& filter() const { return filter_; }

    db::SqlLines statement() const;
    // Opens gzb on the statement and computes the tax and net pay of every row.
    void open();
    // Reads gzb again on the same statement (after saving a card, after closing).
    void reopen() { open(); }

    // The displayed tax and net pay of a row of gzb, by its 编号; empty values when none.
    db::Money taxOf(int64_t id) const;
    db::Money netOf(int64_t id) const;
    bool missedBracket() const { return missedBracket_; }
    // For a set that withholds cumulatively: every row's year-to-date figures and the earlier months
    // still open; nullptr for a set taxed by the month table.
    const tax::ViewWithholding* withholding() const { return withholding_.get(); }
    // The views the year-to-date reader opens on earlier months leave the tax to its walk.
    void setCumulativeTax(bool on) { cumulativeTax_ = on; }
    // The sort is by the tax or the net column: the rows are ordered here by their displayed values,
    // not by the database.
    bool sortsByComputedColumn() const;

    // The rows and months that closing or reopening would change, as the question names them.
    struct Scope {
        int rows = 0;
        std::vector<std::string> months;  // "2024年03月"
    };
    Scope scope(bool closing) const;
    std::string question(bool closing) const;
    // Closing writes the displayed values of the formula items, the tax and the net pay into their
    // columns and marks the rows closed, in one transaction; reopening only marks them open, so
    // their values are computed afresh. Both take the rows of the current view (its set, node and
    // quick search; never its order). Return the rows changed; gzb is opened again.
    int closeRows();
    int reopenRows();

    // Column names for the quick search and sort lists and for the grid, in grid order.
    std::vector<std::string> gridColumns() const;
    std::string titleOf(const std::string& column) const;

private:
    struct Computed {
        db::Money tax, net;
    };
    using Values = std::unordered_map<int64_t, Computed>;
    Values compute(db::DataSet& ds);
    std::shared_ptr<tax::ViewWithholding> cumulativeWithholding(const db::DataSet& ds) const;
    tax::ViewWithholding::Row withholdingRow(const db::DataSet& ds, int row) const;
    void sortByComputed();
    db::SqlLines statementFor(bool withOrder, const std::string& extra = {}) const;

    db::Connection& conn_;
    db::DataSet& gzb_;
    SalaryViewConfig config_;
    SalaryFilter filter_;
    Values values_;
    bool missedBracket_ = false;
    bool cumulativeTax_ = true;
    std::shared_ptr<tax::ViewWithholding> withholding_;
    std::shared_ptr<tax::ViewWithholding> lastWithholding_;  // of the last compute()
};

// The name under which a closed row's stored tax or net value is read.
std::string storedColumnName(const std::string& code);

}  // namespace rsgz::payroll
