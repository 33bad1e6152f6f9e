#pragma once
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "exchange/SourceFile.h"

namespace rsgz::exchange {

// Access databases and the older workbooks are read through libraries that a damaged file can
// send into an endless loop or past the end of their buffers. Those files are read by a small
// program of our own, rsgz_reader, in a process of its own with bounds on its time, memory and
// output; it hands the table over its standard output (TableStream.h). Whatever happens to it,
// this program goes on.
struct ReaderLimits {
    std::chrono::milliseconds time{60'000};  // wall clock, then the process is killed
    size_t memoryBytes = size_t{1} << 30;    // address space
    size_t outputBytes = size_t{512} << 20;  // what it may write before it is killed
};

// Runs program with args under the limits and returns everything it wrote to its standard output.
// Throws SourceError with the reason (timed out, out of memory, crashed, too much output, failed
// to start, ended with an error) when it does not end normally.
std::string runReader(const std::string& program, const std::vector<std::string>& args, const ReaderLimits& limits = {});

// rsgz_reader beside the running program, in ../libexec/rsgz of an installed one, or in the build's
// program directory.
std::string readerProgram();

// A file read through the reader process: the list of tables is read once, each table when asked.
// Every failure is "文件已损坏或不是受支持的格式" naming the file, with the reason on a line of its own.
std::unique_ptr<SourceFile> openContainedFile(const std::string& path, const ReaderLimits& limits = {});

}  // namespace rsgz::exchange
