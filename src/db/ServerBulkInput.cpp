#include "db/ServerBulkInput.h"

#include <libpq-fe.h>

#include "db/Dialect.h"
#include "db/LatinCase.h"
#include "db/Native.h"
#include "db/ServerBackend.h"

namespace rsgz::db {

namespace {

constexpr size_t kMessageBytes = 1 << 20;

// The server keeps the Latin letters of names in lower case, as the statements are put into its words.
std::string serverName(const std::string& name) { return postgresDialect().quoteName(foldLatin(name)); }

// A value in the text form of the bulk input: a backslash, a tab and a line break escaped.
void appendEscaped(std::string& out, const std::string& value)
{
    for (char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
}

}  // namespace

ServerBulkInput::ServerBulkInput(Connection& conn, const std::string& table, const std::vector<std::string>& columns)
    : session_(Native::session(conn))
{
    statement_ = "copy " + serverName(table) + " (";
    for (size_t i = 0; i < columns.size(); ++i) statement_ += (i ? ", " : "") + serverName(columns[i]);
    statement_ += ") from stdin";
    PGresult* r = PQexec(session_.conn(), statement_.c_str());
    if (PQresultStatus(r) != PGRES_COPY_IN) session_.fail(r, statement_);
    PQclear(r);
    buffer_.reserve(kMessageBytes + 4096);
}

ServerBulkInput::~ServerBulkInput()
{
    if (!open_) return;
    PQputCopyEnd(session_.conn(), "abandoned");
    while (PGresult* r = PQgetResult(session_.conn())) PQclear(r);
}

void ServerBulkInput::add(const CanonicalRow& row)
{
    for (size_t i = 0; i < row.size(); ++i) {
        if (i > 0) buffer_ += '\t';
        if (row[i]) appendEscaped(buffer_, *row[i]);
        else buffer_ += "\\N";
    }
    buffer_ += '\n';
    if (buffer_.size() >= kMessageBytes) send();
}

void ServerBulkInput::send()
{
    if (buffer_.empty()) return;
    if (PQputCopyData(session_.conn(), buffer_.data(), static_cast<int>(buffer_.size())) != 1) {
        open_ = false;
        session_.fail(PQgetResult(session_.conn()), statement_);
    }
    buffer_.clear();
}

void ServerBulkInput::finish()
{
    send();
    open_ = false;
    if (PQputCopyEnd(session_.conn(), nullptr) != 1) session_.fail(nullptr, statement_);
    PGresult* r = PQgetResult(session_.conn());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    PGresult* last = r;
    // The server says how the input ended once, then nothing more.
    while (PGresult* more = PQgetResult(session_.conn())) PQclear(more);
    if (!ok) session_.fail(last, statement_);
    PQclear(last);
}

}  // namespace rsgz::db
