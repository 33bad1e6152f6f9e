#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/DbError.h"
#include "db/FieldType.h"
#include "db/SqlText.h"
#include "db/Value.h"

namespace rsgz::db {

class Connection;
class DataSet;

struct Field {
    std::string name;       // result column name (its alias, where the statement gives one)
    FieldType type = FieldType::Unknown;
    int size = 0;           // width of a text column
    bool readOnly = false;  // anything but a plain column of the base table: an expression, a
                            // sub-select, a column of a joined result, a calculated field
    bool calculated = false;
    std::string baseColumn; // the stored column it comes from; empty for expressions
};

// Values the calculate rule sets for one row. The rule reads the row through the dataset's
// accessors for that row (rowValue) and sets the calculated fields here.
class CalcRow {
public:
    CalcRow(const DataSet& ds, int row, std::string_view wanted = {}) : ds_(ds), row_(row), wanted_(wanted) {}
    Value get(std::string_view field) const;  // a stored field of the row being calculated
    void set(std::string_view field, Value v);
    int row() const { return row_; }
    // The calculated field being read; a rule may set only that one. Empty: set them all.
    std::string_view wanted() const { return wanted_; }
    const std::vector<std::pair<std::string, Value>>& values() const { return values_; }

private:
    const DataSet& ds_;
    int row_;
    std::string_view wanted_;
    std::vector<std::pair<std::string, Value>> values_;
};

// The rule points a dataset runs at the moments named. A rule refuses with abortSilently() after
// showing its own notice. mayChange, when set, says whether the rows may be changed at all (the
// operator's right that guards the dataset): views show the fields read-only when it is false,
// and the insert, post and delete rules refuse.
struct DataSetRules {
    std::function<bool(const DataSet&)> mayChange;
    std::function<void(DataSet&)> beforeInsert, afterInsert;
    std::function<void(DataSet&)> beforePost, afterPost;
    std::function<void(DataSet&)> beforeDelete, afterDelete;
    std::function<void(DataSet&)> afterOpen, afterScroll;
    std::function<void(CalcRow&)> calculate;
};

// Views hear of changes through this. Row numbers are 0-based positions in the dataset.
class DataSetListener {
public:
    virtual ~DataSetListener() = default;
    virtual void dataSetReset(DataSet&) {}                  // opened, closed, re-read, controls re-enabled
    virtual void rowChanged(DataSet&, int /*row*/) {}
    virtual void rowAboutToBeInserted(DataSet&, int /*row*/) {}
    virtual void rowInserted(DataSet&, int /*row*/) {}
    virtual void rowAboutToBeRemoved(DataSet&, int /*row*/) {}
    virtual void rowRemoved(DataSet&, int /*row*/) {}
    virtual void currentChanged(DataSet&) {}                // cursor moved or state changed
};

// A client-side record set over one statement: all rows are fetched on open and held in memory;
// inserts, changes and deletions are written back to the statement's one base table by its key,
// at once or, in batch mode, when applyUpdates() is called. A change or deletion is written only
// while the stored row still holds what this dataset read: a row another dataset changed or
// deleted meanwhile is refused with a DbError that says so, and nothing is overwritten.
class DataSet {
public:
    enum class State { Inactive, Browse, Edit, Insert };

    DataSet(Connection* conn, std::string name, SqlLines defaultSql = {});
    ~DataSet();
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    const std::string& name() const { return name_; }
    Connection* connection() const { return conn_; }

    // --- statement -----------------------------------------------------------------------------
    void setSql(SqlLines lines);
    // A whole statement as text; CR LF or LF separate its lines.
    void setSqlText(std::string_view text) { setSql(splitSqlLines(text)); }
    void setSql(const std::string& text) { setSqlText(text); }
    void setSql(const char* text) { setSqlText(text); }
    const SqlLines& sqlLines() const { return sql_; }
    std::string sqlText() const { return joinSqlLines(sql_); }

    // --- calculated fields (declared before open) ------------------------------------------------
    // The row number 序号: 1-based position in the current order, -1 on a row being inserted.
    void setRowNumberField(bool on) { rowNumberField_ = on; }
    void addCalcField(std::string name, FieldType type, int size = 0);
    // Drops the declared calculated fields (a view whose computed columns change with its statement).
    void clearCalcFields() { extraCalc_.clear(); }
    // The type of an expression column that the statement cannot type (a formula's amount), by its
    // name in the select list; declared before open, kept until cleared.
    void setExpressionType(std::string column, FieldType type) { expressionTypes_.push_back({std::move(column), type, 0}); }
    void clearExpressionTypes() { expressionTypes_.clear(); }

    // --- open and close ------------------------------------------------------------------------
    void open();
    void close();
    // Posts a pending edit, then re-reads with the same statement, staying on the same position
    // where possible.
    void requery();
    // Reads the rows afresh for what others wrote meanwhile, staying on the current row by its key
    // (by its position when the row is gone or the rows have no key). Leaves the dataset as it is,
    // and returns false, while it is closed, a row is being edited, batch changes are pending, or
    // the program put the rows into an order or a narrowing of its own (reorderRows, keepRows),
    // which a fresh read would undo.
    bool reread();
    bool active() const { return state_ != State::Inactive; }
    State state() const { return state_; }
    bool isEditing() const { return state_ == State::Edit || state_ == State::Insert; }

    // --- fields ----------------------------------------------------------------------------------
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    const Field& field(int index) const { return fields_.at(static_cast<size_t>(index)); }
    int fieldIndex(std::string_view name) const;  // -1 when absent; names compare ignoring Latin case
    const Field& fieldByName(std::string_view name) const;
    std::vector<std::string> fieldNames() const;
    bool readOnly() const { return readOnly_ || forcedReadOnly_; }
    void setReadOnly(bool on) { forcedReadOnly_ = on; }
    const std::string& baseTable() const { return baseTable_; }

    // --- cursor --------------------------------------------------------------------------------------
    int recordCount() const;
    int recNo() const;  // 1-based; -1 while empty or while a row is being inserted
    bool isEmpty() const { return recordCount() == 0; }
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    int currentRow() const { return cur_; }  // 0-based position of the current row, -1 when none
    int rowCount() const;  // rows a view shows (an inserted row included)
    void first();
    void last();
    void next();
    void prior();
    void moveToRow(int row);  // 0-based, for views
    bool locate(std::string_view field, const Value& value, bool ignoreCase = true, bool partial = false);
    std::string statusText() const;  // "3/120", "-1/0" when empty
    // Puts the rows read into another order, for an order by values only the program computes
    // (the database cannot sort by them). order[i] is the present position of the row that goes to
    // position i; it must name every row once. A pending edit is posted first; the cursor goes to
    // the first row. Throws DataSetError for an order that is not a permutation of the rows.
    void reorderRows(const std::vector<int>& order);
    // The same for a narrowing only the program can decide (a search by computed values): only the
    // rows named stay in what the dataset holds, in that order; nothing is deleted from the table.
    void keepRows(const std::vector<int>& rows);

    // --- values --------------------------------------------------------------------------------------
    Value value(std::string_view field) const;
    Value value(int index) const;
    Value valueAt(int row, int index) const;  // for views; the edit buffer on the row being edited
    std::string asString(std::string_view f) const { return value(f).toString(); }
    int64_t asInt(std::string_view f) const { return value(f).toInt(); }
    double asDouble(std::string_view f) const { return value(f).toDouble(); }
    Money asMoney(std::string_view f) const { return value(f).toMoney(); }
    bool asBool(std::string_view f) const { return value(f).toBool(); }
    bool isNull(std::string_view f) const { return value(f).isNull(); }
    // Only in edit or insert state. Throws DataSetError for a read-only field or a value the column
    // cannot take (text too long, not a number, not a date).
    void setValue(std::string_view field, const Value& v);
    void setValue(int index, const Value& v);

    // --- editing -------------------------------------------------------------------------------------
    void append();  // a new row at the end
    void insert();  // a new row before the current one
    void edit();    // on an empty dataset this starts an insert
    void post();
    void cancel();
    void remove();  // deletes the current row (a row being inserted is only abandoned)

    // --- batch mode --------------------------------------------------------------------------------
    void setBatchMode(bool on) { batch_ = on; }
    bool batchMode() const { return batch_; }
    bool hasPendingUpdates() const;
    void applyUpdates();  // all pending changes in one transaction; on failure nothing is written
    void cancelUpdates();

    // --- rules, views, status ------------------------------------------------------------------
    DataSetRules& rules() { return rules_; }
    // False when the guard of the rules says the rows may not be changed now. Views use it to
    // show the fields read-only; the rules themselves refuse the change.
    bool mayChange() const { return !rules_.mayChange || rules_.mayChange(*this); }
    void addListener(DataSetListener* l);
    void removeListener(DataSetListener* l);
    // Suspends view notifications (loops over many rows); the last enable sends one reset.
    void disableControls() { ++controlsDisabled_; }
    void enableControls();
    bool controlsDisabled() const { return controlsDisabled_ > 0; }
    // When set, the dataset sends its status text to the sink after open and after every move.
    void setStatusSink(std::function<void(const std::string&)> sink) { statusSink_ = std::move(sink); }
    void sendStatus() const;

    // Raw row access for code that walks rows without moving the cursor (statistics, export).
    Value rowValue(int row, int index) const;

    // The bytes the fetched rows occupy in memory (cells, text, bookkeeping), for measurements.
    size_t heldBytes() const;

private:
    // Rows, their storage and the statements that read and write them (DataSetPrivate.h).
    struct Private;

    void openAt(int wantedRow, const int64_t* wantedKey = nullptr);
    void arrangeRows(const std::vector<int>& order, bool everyRow);
    void checkActive() const;
    void checkBrowseMode();  // posts a pending edit before the cursor moves
    void beginInsert(bool atEnd);
    void setCursor(int row);
    void afterMove();
    Value calcValue(int row, int index) const;
    bool writable(int index) const;
    template <class F> void notify(F f);

    Connection* conn_;
    std::string name_;
    SqlLines sql_;
    DataSetRules rules_;
    std::vector<Field> fields_;
    std::vector<int> storedIndex_;  // field index -> column index in the row, -1 for calculated fields
    struct CalcField {
        std::string name;
        FieldType type;
        int size;
    };
    std::vector<CalcField> extraCalc_;
    std::vector<CalcField> expressionTypes_;
    bool rowNumberField_ = false;

    std::unique_ptr<Private> p_;
    State state_ = State::Inactive;
    int cur_ = -1;
    int insertReturn_ = -1;  // the row that was current before an insert, for cancel
    bool bof_ = true, eof_ = true;
    bool batch_ = false;
    bool arranged_ = false;  // the rows are in an order or narrowing of the program's (arrangeRows)
    bool readOnly_ = true, forcedReadOnly_ = false;
    std::string baseTable_;
    int controlsDisabled_ = 0;
    std::vector<DataSetListener*> listeners_;
    std::function<void(const std::string&)> statusSink_;
};

}  // namespace rsgz::db
