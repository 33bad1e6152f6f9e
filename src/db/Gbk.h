#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "db/EncodingError.h"

namespace rsgz::db {

// The program's small text files (name history, settings beside the program) are kept in GBK with
// CR LF line ends, so files written by earlier installations stay readable. All GBK text passes
// through these functions; the rest of the program sees UTF-8 only.

// Throws EncodingError naming the first character GBK cannot hold (or on invalid UTF-8).
std::string toGbk(std::string_view utf8);
// Throws EncodingError on bytes that are not GBK.
std::string fromGbk(std::string_view gbk);

// Lines end in CR LF or LF; the line end is not part of the line, and a final line end does not
// start another (empty) line. Throws std::runtime_error when the file cannot be read.
std::vector<std::string> readGbkLines(const std::string& path);
// Every line is written followed by CR LF. The file is replaced as a whole or not at all: all lines
// are encoded first, then written to a temporary file in the same folder that is renamed over the
// old one. Throws EncodingError or std::runtime_error.
void writeGbkLines(const std::string& path, const std::vector<std::string>& lines);

}  // namespace rsgz::db
