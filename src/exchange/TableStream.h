#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "exchange/SourceFile.h"

namespace rsgz::exchange {

// The bytes the reader process hands the program on its standard output: a list of table names,
// one table with its rows, or the reason it could not read the file. Little-endian counts and
// lengths; every count and length is checked against the bytes that are really there, so a short,
// garbled or endless stream is refused and never trusted for an allocation.
//
//   "RSGZTAB1", then one of
//     'N' u32 n, n names                                  the tables
//     'T' u32 columns, names, u32 rows, rows × (u32 line, columns × cell)
//     'F' text                                            could not read (the reason)
//   then 'Z'.
//   text: u32 length, UTF-8 bytes.  cell: kind byte (db::Value::Kind), then i64, f64 or text.
namespace tablestream {

// Bounds a stream is held to (the reading side's, whatever the writer says).
constexpr size_t kMaxTables = 4096;
constexpr size_t kMaxColumns = 16384;    // the widest sheet there is
constexpr size_t kMaxRows = 4'000'000;
constexpr size_t kMaxText = 4u << 20;    // one name or cell; a memo is cut at 1 MB before this

std::string encodeTables(const std::vector<std::string>& names);
std::string encodeTable(const SourceTable& table);
std::string encodeFailure(const std::string& reason);

// What a stream says: the names or the table, or the reader's reason for failing.
struct Decoded {
    enum class Kind { Tables, Table, Failure } kind = Kind::Failure;
    std::vector<std::string> names;
    SourceTable table;
    std::string reason;
};

// Throws SourceError (with a short reason of its own, for the detail line) for a stream that is
// cut short, garbled or beyond the bounds above.
Decoded decode(std::string_view bytes);

}  // namespace tablestream

}  // namespace rsgz::exchange
