#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "db/DataSet.h"
#include "db/Money.h"
#include "db/SqlText.h"
#include "payroll/MonthTable.h"
#include "payroll/SalaryCalculation.h"
#include "payroll/ViewWithholding.h"

namespace rsgz::db {
class Connection;
}  // namespace rsgz::db

namespace rsgz::payroll {

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

// The salary view over the shared dataset gzb. The statement reads the stored columns only; the
// program computes the formula items, the tax and the net pay of every row in the order they
// depend on each other (a formula naming another formula item takes its computed value), each to
// the fen. Those columns are calculated fields of gzb holding the computed values, so the grid, the
// card, the totals, the printed table and the bank file all read the same figures from gzb. A
// closed row shows the values written when it was closed.
class SalaryView : private db::DataSetListener {
public:
    SalaryView(db::Connection& conn, db::DataSet& gzb);
    ~SalaryView() override;
    SalaryView(const SalaryView&) = delete;
    SalaryView& operator=(const SalaryView&) = delete;

    // Builds the view for a set (reading the items and planning the computation) and keeps the
    // filter's set in step; node, search and sort stay as they are.
    void build(const std::string& set);
    const SalaryViewConfig& config() const { return config_; }
    SalaryFilter& filter() { return filter_; }
    const SalaryFilter& filter() const { return filter_; }

    db::SqlLines statement() const;
    // Opens gzb on the statement and computes every row; a search or sort by a computed column is
    // applied to the computed values.
    void open();
    // Reads gzb again on the same statement (after saving a card, after closing).
    void reopen() { open(); }

    // The value of any column of a row of gzb, by its 编号: a stored column as read (on the row
    // being edited, as typed), a computed column (formula item, tax, net pay) as the grid shows it,
    // to the fen. Money() for an empty value, a column the view lacks or a row it does not hold.
    db::Money valueOf(int64_t id, const std::string& column) const;
    // The same for the tax and the net column.
    db::Money taxOf(int64_t id) const { return valueOf(id, config_.taxColumn); }
    db::Money netOf(int64_t id) const { return valueOf(id, config_.netColumn); }
    bool missedBracket() const { return missedBracket_; }
    // For a set that withholds cumulatively: every row's year-to-date figures and the earlier months
    // still open; nullptr for a set taxed by the month table.
    const tax::ViewWithholding* withholding() const { return withholding_.get(); }
    // The views the year-to-date reader opens on earlier months leave the tax to its walk.
    void setCumulativeTax(bool on) { cumulativeTax_ = on; }
    // The sort is by a computed column: the rows are ordered here by their displayed values, not
    // by the database.
    bool sortsByComputedColumn() const { return config_.isComputed(filter_.sortField); }
    bool searchesComputedColumn() const;

    // The rows and months that closing or reopening would change, as the question names them.
    struct Scope {
        int rows = 0;
        std::vector<std::string> months;  // "2024年03月"
        std::vector<Period> periods;      // the same months
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
    using Amount = Formula::Amount;
    // Where the computation finds a row's values in one record set.
    struct Reader {
        int id = -1, state = -1;
        std::vector<int> inputs;  // per input of the calculation; -1: none
        std::vector<int> stored;  // per step: the stored value of its column, for closed rows
    };
    Reader readerFor(const db::DataSet& ds, const RowCalculation& calc) const;
    // The computed values of one row, one per step of the configuration.
    void computeRow(const db::DataSet& ds, const Reader& r, RowCalculation& calc, int row, Amount* out) const;
    void computeAll();
    int stepOf(std::string_view column) const;
    Amount computedValue(int row, int step) const;
    void keepSearchedRows();
    void sortByComputed();
    db::SqlLines statementFor(bool withOrder, const std::string& extra = {}, bool shownOnly = true) const;
    int rowOf(int64_t id) const;

    std::shared_ptr<tax::ViewWithholding> prepareWithholding(const db::DataSet& ds) const;
    tax::ViewWithholding::Row withholdingRow(const db::DataSet& ds, int row) const;
    void bindRowTax(RowCalculation& calc, tax::ViewWithholding* w) const;

    void dataSetReset(db::DataSet&) override;
    void rowChanged(db::DataSet&, int row) override;

    db::Connection& conn_;
    db::DataSet& gzb_;
    SalaryViewConfig config_;
    SalaryFilter filter_;
    std::unique_ptr<RowCalculation> calc_;
    Reader reader_;
    std::vector<Amount> values_;                    // steps' values, row after row
    std::unordered_map<int64_t, size_t> offsetOf_;  // 编号 -> the row's first value
    mutable std::vector<Amount> scratch_;
    mutable std::vector<Amount> inputs_;
    mutable std::unordered_map<int64_t, int> rowHint_;  // 编号 -> the row it was last found at
    std::vector<int64_t> shownIds_;  // the rows a search by a computed column kept
    bool opening_ = false;
    bool missedBracket_ = false;
    bool cumulativeTax_ = true;
    std::shared_ptr<tax::ViewWithholding> withholding_;
    // The row the calculation works on, for the cumulative tax it asks for.
    struct RowContext {
        const db::DataSet* ds = nullptr;
        int row = -1;
    };
    mutable RowContext rowContext_;
};

// The name under which a closed row's stored tax or net value is read.
std::string storedColumnName(const std::string& code);

}  // namespace rsgz::payroll
