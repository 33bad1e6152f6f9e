#pragma once
#include <string>
#include <string_view>

namespace rsgz::db {

// The logical column types the program works with. Every result column carries one; grids format
// by it, statement builders pick the literal form from it, editors limit lengths by it.
enum class FieldType {
    Text,      // text(n): at most n characters
    Memo,      // long text
    DateTime,  // stored as ISO text, yyyy-mm-dd (a time only where a column really holds one)
    Integer,   // 32-bit signed
    Double,    // 64-bit floating point
    Currency,  // fixed point, four decimals (see Money)
    YesNo,     // boolean, stored as 0/1
    AutoInc,   // integer key given by the database on insert
    Unknown    // an expression the engine could not type
};

// Declared SQLite column types for each logical type (the facts of sqliteDialect()). The words are
// chosen so that SQLite's affinity rules give the storage we need: text stays text, money and double
// are REAL (100 stays 100.0, so a formula gz01/gz02 divides as a user expects), yes/no and integers
// are integers.
std::string declaredType(FieldType type, int size);

// Reads a declared type back (also the Jet words the creation statements use). Size is the text width.
FieldType fieldTypeFromDeclared(std::string_view decl, int* size = nullptr);

// Text and the other quoted kinds, as opposed to bare numbers and #dates#.
enum class LiteralForm { Bare, Quoted, DateHash };
LiteralForm literalForm(FieldType type);

bool isNumeric(FieldType type);

}  // namespace rsgz::db
