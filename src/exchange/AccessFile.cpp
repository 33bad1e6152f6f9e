// Access databases (.mdb of every version, .accdb as far as libmdb reads it) through libmdb. Values
// come from libmdb as text; numbers are turned back into numbers and dates into the program's form.
// mdbtools.h includes glib inside its extern "C" block; glib has C++ parts, so it comes first.
#include <glib.h>
#include <iconv.h>
#include <mdbtools.h>

#include <QByteArray>
#include <charconv>
#include <cstring>

#include "exchange/SourceFile.h"

namespace rsgz::exchange {

namespace {

bool isNumberColumn(int type)
{
    return type == MDB_BYTE || type == MDB_INT || type == MDB_LONGINT || type == MDB_FLOAT || type == MDB_DOUBLE ||
           type == MDB_MONEY || type == MDB_NUMERIC;
}

db::Value numberValue(const std::string& s)
{
    int64_t i = 0;
    const char* end = s.data() + s.size();
    if (auto r = std::from_chars(s.data(), end, i); r.ec == std::errc() && r.ptr == end) return db::Value(i);
    double d = 0;
    if (auto r = std::from_chars(s.data(), end, d); r.ec == std::errc() && r.ptr == end) return db::Value(d);
    return db::Value(s);
}

db::Value dateValue(std::string s)
{
    if (s.size() > 10 && s.substr(10) == " 00:00:00") s.resize(10);
    return db::Value(std::move(s));
}

class AccessFile : public SourceFile {
public:
    explicit AccessFile(std::string path) : path_(std::move(path))
    {
        mdb_ = mdb_open(path_.c_str(), MDB_NOFLAGS);
        if (!mdb_ || !mdb_read_catalog(mdb_, MDB_TABLE)) {
            if (mdb_) mdb_close(mdb_);
            mdb_ = nullptr;
            throw SourceError("不能读取 Access 数据库“" + path_ + "”：文件已损坏，或不是 Access 数据库。");
        }
        mdb_set_date_fmt(mdb_, "%Y-%m-%d %H:%M:%S");
        // Values longer than the bind size are cut; this one takes any memo a record would hold.
        mdb_set_bind_size(mdb_, kMemoBytes);
    }
    ~AccessFile() override
    {
        if (mdb_) mdb_close(mdb_);
    }

    std::vector<std::string> tables() override
    {
        std::vector<std::string> names;
        for (unsigned int i = 0; i < mdb_->num_catalog; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb_->catalog, i));
            if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry)) names.emplace_back(entry->object_name);
        }
        return names;
    }

    SourceTable read(const std::string& name) override
    {
        MdbTableDef* table = openTable(name);
        SourceTable t;
        try {
            readInto(table, t);
        } catch (...) {
            mdb_free_tabledef(table);
            throw;
        }
        mdb_free_tabledef(table);
        tidyTable(t);
        return t;
    }

private:
    static constexpr size_t kMemoBytes = 1024 * 1024;
    // Every other value lives inside one database page (4 KB), so its text, even after the change
    // from two-byte characters to UTF-8, stays well below this.
    static constexpr size_t kValueBytes = 16 * 1024;

    MdbTableDef* openTable(const std::string& name)
    {
        for (unsigned int i = 0; i < mdb_->num_catalog; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb_->catalog, i));
            if (entry->object_type != MDB_TABLE || name != entry->object_name) continue;
            MdbTableDef* table = mdb_read_table(entry);
            if (table && mdb_read_columns(table)) return table;
            if (table) mdb_free_tabledef(table);
            break;
        }
        throw SourceError("不能读取数据表“" + name + "”。");
    }

    void readInto(MdbTableDef* table, SourceTable& t)
    {
        const unsigned int n = table->num_cols;
        std::vector<QByteArray> buffers(n);
        std::vector<int> lengths(n, 0), types(n, 0);
        for (unsigned int c = 0; c < n; ++c) {
            auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, c));
            t.columns.emplace_back(col->name);
            types[c] = col->col_type;
            // Pictures and other binary objects have no text form a record could hold: not bound.
            if (types[c] == MDB_OLE || types[c] == MDB_BINARY) continue;
            const size_t size = (types[c] == MDB_MEMO ? kMemoBytes : kValueBytes) + 1;  // and the terminating NUL
            buffers[c] = QByteArray(static_cast<qsizetype>(size), '\0');
            mdb_bind_column(table, static_cast<int>(c) + 1, buffers[c].data(), &lengths[c]);
        }
        mdb_rewind_table(table);
        t.rows.reserve(table->num_rows);
        while (mdb_fetch_row(table)) {
            std::vector<db::Value> row;
            row.reserve(n);
            for (unsigned int c = 0; c < n; ++c) row.push_back(cell(types[c], buffers[c].constData(), lengths[c]));
            t.rows.push_back(std::move(row));
            t.lines.push_back(static_cast<int>(t.rows.size()));
        }
    }

    static db::Value cell(int type, const char* data, int length)
    {
        if (length <= 0 || type == MDB_OLE || type == MDB_BINARY) return {};
        std::string s(data, strnlen(data, static_cast<size_t>(length)));
        if (type == MDB_DATETIME) return dateValue(std::move(s));
        if (isNumberColumn(type)) return numberValue(s);
        return db::Value(std::move(s));
    }

    std::string path_;
    MdbHandle* mdb_ = nullptr;
};

}  // namespace

std::unique_ptr<SourceFile> openAccessFile(const std::string& path) { return std::make_unique<AccessFile>(path); }

}  // namespace rsgz::exchange
