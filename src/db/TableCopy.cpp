#include "db/TableCopy.h"

#include <sodium.h>

#include <charconv>
#include <memory>

#include "db/CanonicalRow.h"
#include "db/Dialect.h"
#include "db/LatinCase.h"
#include "db/Money.h"
#include "db/Native.h"
#include "db/SchemaUpgrade.h"
#include "db/ServerBackend.h"
#include "db/ServerBulkInput.h"
#include "db/SqlText.h"

namespace rsgz::db {

namespace {

constexpr int64_t kProgressRows = 5000;

const TableDef* schemaTable(const std::string& name)
{
    for (const TableDef& t : schemaTables())
        if (equalsIgnoringLatinCase(t.name, name)) return &t;
    return nullptr;
}

const ColumnDef* columnOf(const TableDef* table, const std::string& name)
{
    if (!table) return nullptr;
    for (const ColumnDef& c : table->columns)
        if (equalsIgnoringLatinCase(c.name, name)) return &c;
    return nullptr;
}

std::vector<std::string> columnNamesOf(const TableDef& t)
{
    std::vector<std::string> names;
    for (const ColumnDef& c : t.columns) names.push_back(c.name);
    return names;
}

// The source is read as of one moment, even while other clerks work on a server; nothing is
// written to it, and the snapshot is let go however the copy ends.
class ReadSnapshot {
public:
    explicit ReadSnapshot(Connection& conn) : conn_(conn)
    {
        conn_.execNative(conn_.isServer() ? "begin isolation level repeatable read read only" : "BEGIN");
    }
    ~ReadSnapshot()
    {
        try {
            conn_.execNative("ROLLBACK");
        } catch (...) {
        }
    }
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

private:
    Connection& conn_;
};

// Where the rows of one table go.
class RowSink {
public:
    virtual ~RowSink() = default;
    virtual void add(const CanonicalRow& row) = 0;
    virtual void finish() {}
};

class ServerSink : public RowSink {
public:
    ServerSink(Connection& conn, const TableDef& t) : input_(conn, t.name, columnNamesOf(t)) {}
    void add(const CanonicalRow& row) override { input_.add(row); }
    void finish() override { input_.finish(); }

private:
    ServerBulkInput input_;
};

// Into a file, one prepared insert bound row by row: inside one transaction the file takes them
// as fast as the rows can be read.
class FileSink : public RowSink {
public:
    FileSink(Connection& conn, const TableDef& t) : table_(t), insert_(conn.prepareNative(insertSql(t))) {}
    void add(const CanonicalRow& row) override
    {
        for (size_t i = 0; i < row.size(); ++i) bindValue(static_cast<int>(i) + 1, table_.columns[i].type, row[i]);
        insert_.run();
    }

private:
    static std::string insertSql(const TableDef& t)
    {
        std::string cols, marks;
        for (size_t i = 0; i < t.columns.size(); ++i) {
            cols += (i ? ", " : "") + sqlIdent(t.columns[i].name);
            marks += i ? ", ?" : "?";
        }
        return "insert into " + sqlIdent(t.name) + " (" + cols + ") values (" + marks + ")";
    }
    // The canonical text back into the engine's own kind of value, so that numbers are stored as
    // numbers whatever the column's declared type makes of text.
    void bindValue(int param, FieldType type, const std::optional<std::string>& v)
    {
        if (!v) {
            insert_.bindNull(param);
            return;
        }
        const char* b = v->data();
        const char* e = b + v->size();
        switch (type) {
        case FieldType::Integer:
        case FieldType::AutoInc:
        case FieldType::YesNo: {
            int64_t i = 0;
            std::from_chars(b, e, i);
            insert_.bind(param, i);
            return;
        }
        case FieldType::Currency: {
            Money m;
            Money::parse(*v, &m);
            insert_.bind(param, m);
            return;
        }
        case FieldType::Double: {
            double d = 0;
            std::from_chars(b, e, d);
            insert_.bind(param, d);
            return;
        }
        default: insert_.bind(param, *v);
        }
    }

    const TableDef& table_;
    Statement insert_;
};

}  // namespace

TableDigest digestTable(Connection& conn, const std::string& table, const std::vector<ColumnDef>& columns)
{
    const TableDef t{table, columns};
    Statement st = conn.prepareNative(selectAllSql(t));
    RowDigest digest;
    CanonicalRow row;
    while (st.step()) {
        readCanonicalRow(st, t, row);
        digest.add(row);
    }
    return digest.result();
}

TableCopy::TableCopy(Connection& source, Connection& target) : source_(source), target_(target)
{
    static const bool ready = sodium_init() >= 0;
    (void)ready;
}

std::vector<TableDef> TableCopy::plan()
{
    std::vector<TableDef> tables;
    for (const std::string& name : source_.tableNames()) {
        const TableDef* known = schemaTable(name);
        TableDef t{known ? known->name : name, {}};
        for (const std::string& col : source_.columnNames(name)) {
            if (const ColumnDef* c = columnOf(known, col)) {
                t.columns.push_back(*c);
                continue;
            }
            const Connection::ColumnInfo info = source_.columnInfo(name, col);
            t.columns.push_back({col, info.type, info.size});
        }
        tables.push_back(std::move(t));
    }
    return tables;
}

std::optional<std::pair<std::string, int64_t>> TableCopy::filledTargetTable()
{
    for (const std::string& name : target_.tableNames()) {
        Statement st = target_.prepareNative("select count(*) from " + sqlIdent(name));
        const int64_t n = st.step() ? st.integer(0) : 0;
        if (n > 0) return std::make_pair(name, n);
    }
    return std::nullopt;
}

// The schema of the program first, when the target has none; then any further table the source
// holds, declared as the source declares it.
void TableCopy::prepareTarget(const std::vector<TableDef>& tables)
{
    if (const auto filled = filledTargetTable())
        throw DbError(DbError::Kind::Other, "目标数据库不是空的：表“" + filled->first + "”中已有 "
                                                + std::to_string(filled->second) + " 行数据。");
    if (target_.tableNames().empty()) {
        if (target_.isServer()) Native::session(target_).exec("create extension if not exists citext");
        createSchemaAt(target_, currentSchemaVersion());
    }
    for (const TableDef& t : tables) {
        if (!target_.hasTable(t.name)) target_.execNative(createTableSql(t));
        const std::vector<std::string> there = target_.columnNames(t.name);
        for (const ColumnDef& c : t.columns) {
            bool found = false;
            for (const std::string& name : there) found = found || equalsIgnoringLatinCase(name, c.name);
            if (!found)
                throw DbError(DbError::Kind::Other, "目标数据库的表“" + t.name + "”中没有列“" + c.name + "”。");
        }
    }
}

TableDigest TableCopy::copyTable(const TableDef& t, int index, int tables)
{
    Step step{t.name, index, tables, 0};
    if (progress) progress(step);
    std::unique_ptr<RowSink> sink;
    if (target_.isServer()) sink = std::make_unique<ServerSink>(target_, t);
    else sink = std::make_unique<FileSink>(target_, t);
    Statement read = source_.prepareNative(selectAllSql(t));
    RowDigest digest;
    CanonicalRow row;
    while (read.step()) {
        readCanonicalRow(read, t, row);
        sink->add(row);
        digest.add(row);
        if (++step.rows % kProgressRows == 0 && progress) progress(step);
    }
    sink->finish();
    return digest.result();
}

// A file numbers on from the highest key by itself; a server's key sequences are set after the
// highest key each table now holds (the first key of an empty table stays 1).
void TableCopy::renumberKeys(const std::vector<TableDef>& tables)
{
    if (!target_.isServer()) return;
    const Dialect& d = postgresDialect();
    ServerSession& s = Native::session(target_);
    for (const TableDef& t : tables) {
        const std::string key = target_.keyColumn(t.name);
        if (key.empty()) continue;
        const std::string table = d.quoteName(foldLatin(t.name));
        const std::string column = d.quoteName(key);
        s.exec("select setval(pg_get_serial_sequence(" + sqlQuote(table) + ", " + sqlQuote(key) + "), coalesce(max("
               + column + "), 1), max(" + column + ") is not null) from " + table);
    }
}

TableCopy::Result TableCopy::run()
{
    ReadSnapshot snapshot(source_);
    const std::vector<TableDef> tables = plan();
    // A new file takes each page once: the write-ahead log would hold every page a second time
    // until it is folded in, and a rollback journal keeps nothing of pages that were not there.
    if (!target_.isServer() && target_.tableNames().empty())
        target_.execNative("PRAGMA journal_mode=DELETE; PRAGMA cache_size=-65536");
    Transaction tx(target_);
    prepareTarget(tables);
    Result result;
    const int total = static_cast<int>(tables.size());
    for (int i = 0; i < total; ++i) {
        const TableDef& t = tables[static_cast<size_t>(i)];
        result.checks.push_back({t.name, copyTable(t, i, total), {}});
    }
    renumberKeys(tables);
    bool same = true;
    for (size_t i = 0; i < tables.size(); ++i) {
        result.checks[i].target = digestTable(target_, tables[i].name, tables[i].columns);
        same = same && result.checks[i].matches();
    }
    if (same) {
        tx.commit();
        result.committed = true;
    }
    return result;
}

}  // namespace rsgz::db
