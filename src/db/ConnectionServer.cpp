// The calls of Connection on a database server: statements put into the server's words, and what
// the database holds read from the server's catalogue.
#include "db/Connection.h"
#include "db/Schema.h"
#include "db/Dialect.h"
#include "db/LatinCase.h"
#include "db/ServerBackend.h"

namespace rsgz::db {

namespace {

bool mayChangeSchema(std::string_view sql)
{
    const std::string low = foldLatin(sql);
    return low.find("create") != std::string::npos || low.find("alter") != std::string::npos
        || low.find("drop") != std::string::npos;
}

// The server keeps Latin letters of unquoted names in lower case, and the program's statements
// are put into its words so.
std::string serverName(const std::string& name) { return foldLatin(name); }

// The server's type of a stored column (its internal name, and the domain it is declared with)
// as the program's field type.
FieldType fieldTypeOfServer(const std::string& type, const std::string& domain, int* size)
{
    if (const int width = serverTextDomainWidth(domain); width > 0) {
        *size = width;
        return FieldType::Text;
    }
    if (type == "citext" || type == "text") return FieldType::Memo;
    if (type == "varchar" || type == "bpchar") return FieldType::Text;
    if (type == "int8" || type == "int4" || type == "int2") return FieldType::Integer;
    if (type == "numeric") return FieldType::Currency;
    if (type == "float8" || type == "float4") return FieldType::Double;
    if (type == "bool") return FieldType::YesNo;
    if (type.starts_with("timestamp") || type == "date") return FieldType::DateTime;
    return FieldType::Unknown;
}

}  // namespace

ServerSession& Connection::session()
{
    if (session_ && session_->broken()) {
        if (sessionHolds_ > 0)
            throw DbError(DbError::Kind::Lost,
                          "与数据库服务器的连接在这项工作的中途中断了，这项工作没有完成（没有提交的修改已由服务器撤销）。"
                          "服务器恢复后请重新做一次。");
        // The server went away: the statements kept on the old session are of no use any more.
        finalizeCached();
        session_.reset();
        forgetColumns();
    }
    if (!session_) session_ = std::make_shared<ServerSession>(*target_);
    return *session_;
}

bool Connection::sessionLost() const { return session_ && session_->broken(); }

bool Connection::transactionFailed() { return target_ && session().transactionFailed(); }

int Connection::execServer(std::string_view statement)
{
    const ServerText text = toServerWords(statement);
    ServerSession& s = session();
    if (text.parameters > 0)
        throw DbError(DbError::Kind::Other, "语句中有参数，不能直接执行", {}, text.sql);
    s.ensureTextDomains(text.textWidths);
    if (mayChangeSchema(text.sql)) forgetColumns();
    return s.exec(text.sql);
}

Statement Connection::prepareServer(std::string_view statement)
{
    ServerText text = toServerWords(statement);
    session().ensureTextDomains(text.textWidths);
    auto* st = new ServerStatement(session_, text.sql, text.parameters);
    return Statement(this, st, std::move(text.sql));
}

void Connection::release(const std::string& sql, ServerStatement* stmt)
{
    auto it = statementCache_.find(sql);
    if (it == statementCache_.end() || it->second.server != stmt) {
        delete stmt;
        return;
    }
    stmt->reset();
    it->second.inUse = false;
}

std::vector<std::string> Connection::serverTableNames()
{
    // In the order they were made: the server numbers its objects as they come.
    std::vector<std::string> names;
    Statement st = prepareServer(
        "select c.relname from pg_class c join pg_namespace n on n.oid = c.relnamespace "
        "where n.nspname = current_schema() and c.relkind in ('r', 'p') order by c.oid");
    while (st.step()) names.push_back(programSpelling(st.textOrEmpty(0)));
    return names;
}

std::vector<std::string> Connection::serverColumnNames(const std::string& table)
{
    std::vector<std::string> names;
    Statement st = prepareServer(
        "select a.attname from pg_attribute a join pg_class c on c.oid = a.attrelid "
        "join pg_namespace n on n.oid = c.relnamespace where n.nspname = current_schema() and c.relname = ? "
        "and c.relkind in ('r', 'p', 'v') and a.attnum > 0 and not a.attisdropped order by a.attnum");
    st.bind(1, serverName(table));
    while (st.step()) names.push_back(programSpelling(st.textOrEmpty(0), table));
    return names;
}

// One question per table rather than per column: a module opens some thirty tables of up to a
// hundred columns each, and every round trip to the server counts.
std::map<std::string, Connection::ColumnInfo> Connection::serverColumnInfos(const std::string& table)
{
    std::map<std::string, ColumnInfo> infos;
    Statement st = prepareServer(
        "select a.attname, case when t.typtype = 'd' then b.typname else t.typname end, "
        "case when t.typtype = 'd' then t.typname else '' end, a.attidentity <> '', "
        "exists (select 1 from pg_index i where i.indrelid = c.oid and i.indisprimary and a.attnum = any(i.indkey)) "
        "from pg_attribute a join pg_class c on c.oid = a.attrelid join pg_namespace n on n.oid = c.relnamespace "
        "join pg_type t on t.oid = a.atttypid left join pg_type b on b.oid = t.typbasetype "
        "where n.nspname = current_schema() and c.relname = ? and c.relkind in ('r', 'p', 'v') "
        "and a.attnum > 0 and not a.attisdropped");
    st.bind(1, serverName(table));
    while (st.step()) {
        ColumnInfo& info = infos[st.textOrEmpty(0)];
        info.type = fieldTypeOfServer(st.textOrEmpty(1), st.textOrEmpty(2), &info.size);
        info.primaryKey = st.integer(4) != 0;
        if (info.primaryKey && (st.integer(3) != 0 || info.type == FieldType::Integer)) info.type = FieldType::AutoInc;
    }
    return infos;
}

std::string Connection::serverKeyColumn(const std::string& table)
{
    Statement st = prepareServer(
        "select a.attname, format_type(a.atttypid, null) from pg_index i join pg_class c on c.oid = i.indrelid "
        "join pg_namespace n on n.oid = c.relnamespace join pg_attribute a on a.attrelid = c.oid "
        "and a.attnum = any(i.indkey) where n.nspname = current_schema() and c.relname = ? and i.indisprimary");
    st.bind(1, serverName(table));
    std::vector<std::pair<std::string, std::string>> keys;
    while (st.step()) keys.emplace_back(st.textOrEmpty(0), st.textOrEmpty(1));
    if (keys.size() != 1) return {};
    const std::string& type = keys.front().second;
    return type == "bigint" || type == "integer" || type == "smallint" ? keys.front().first : std::string();
}

namespace {
// The collation text columns sort by (postgresDialect().chineseCollation): the Chinese order of
// the server's ICU, with the Latin script before the Chinese.
void installChineseOrder(ServerSession& s)
{
    s.exec("create collation if not exists " + postgresDialect().chineseCollation +
           " (provider = icu, locale = 'zh-u-kr-latn-hani')");
}

// A save returns once the server has it, before its log reaches the disk, as the file's own
// write-ahead log does (synchronous NORMAL): a crash of the server's machine may lose the saves of
// its last moment, never the database. Each clerk's save then costs no wait for the disk.
void keepCommitsLikeTheFile(ServerSession& s, const std::string& name)
{
    s.exec("alter database " + postgresDialect().quoteName(name) + " set synchronous_commit = off");
}
}  // namespace

void createServerDatabase(const ServerTarget& admin, const std::string& name, const std::string& owner)
{
    const Dialect& d = postgresDialect();
    {
        ServerSession s(admin);
        std::string sql = "create database " + d.quoteName(name)
            + " template template0 encoding 'UTF8' lc_collate 'C' lc_ctype 'C'";
        if (!owner.empty()) sql += " owner " + d.quoteName(owner);
        s.exec(sql);
        keepCommitsLikeTheFile(s, name);
    }
    // The extension is installed by the administrator, so that an owner without the right to
    // install one can still make the schema.
    ServerTarget inside = admin;
    inside.database = name;
    ServerSession s(inside);
    s.exec("create extension if not exists citext");
    installChineseOrder(s);
}

void dropServerDatabase(const ServerTarget& admin, const std::string& name)
{
    ServerSession s(admin);
    s.exec("drop database if exists " + postgresDialect().quoteName(name) + " with (force)");
}

}  // namespace rsgz::db
