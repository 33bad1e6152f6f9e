#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "db/EncodingError.h"

namespace rsgz::db {

// The program's own files (name history, query trees, field lists, print range, the texts of table
// layouts and of the record card, every other setting beside the program) are kept in GB18030 with
// CR LF line ends. GB18030 writes every character GBK holds with the same bytes, so files written by
// earlier installations in GBK read the same; and it holds every character, the rare ones in names
// included. Files read by other programs that know only GBK (the bank file) stay GBK. All such text
// passes through these functions; the rest of the program sees UTF-8 only.

// Throws EncodingError naming the first character GBK cannot hold (or on invalid UTF-8).
std::string toGbk(std::string_view utf8);
// Throws EncodingError on bytes that are not GBK.
std::string fromGbk(std::string_view gbk);

// Throws EncodingError on invalid UTF-8 only.
std::string toGb18030(std::string_view utf8);
// Throws EncodingError on bytes that are not GB18030.
std::string fromGb18030(std::string_view bytes);
// The longest start of GB18030 bytes that fits the capacity without splitting a character.
std::string cutGb18030(std::string_view bytes, size_t capacity);

// Lines end in CR LF or LF; the line end is not part of the line, and a final line end does not
// start another (empty) line. Throws std::runtime_error when the file cannot be read.
std::vector<std::string> readSettingsLines(const std::string& path);
// Every line is written followed by CR LF. The file is replaced as a whole or not at all: all lines
// are encoded first, then written to a temporary file in the same folder that is renamed over the
// old one. Throws EncodingError or std::runtime_error.
void writeSettingsLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace rsgz::db
