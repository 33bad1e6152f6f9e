// rsgz_reader: reads one Access database or .xls workbook for the program, which starts it with
// bounds on its time and memory (exchange/ReaderProcess.h), and writes what it read to its standard
// output (exchange/TableStream.h).
//
//   rsgz_reader tables FILE         the names of the tables or sheets
//   rsgz_reader read FILE TABLE     one table with all its rows
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include "exchange/SourceFile.h"
#include "exchange/TableStream.h"

using namespace rsgz::exchange;

namespace {

constexpr int kUsage = 2;
constexpr int kOutOfMemory = 3;  // ReaderProcess.cpp reads it so
constexpr int kWriteFailed = 4;

// libmdb prints its complaints about a damaged file on the standard output, which would run into
// the stream: the stream keeps a descriptor of its own and the standard output goes nowhere.
int takeStandardOutput()
{
    const int stream = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (stream < 0 || nowhere < 0 || ::dup2(nowhere, STDOUT_FILENO) < 0) return -1;
    ::close(nowhere);
    return stream;
}

bool writeAll(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The file and the table it read are left for the end of the process to take: freeing a table of
// a few hundred thousand cells cell by cell only delays the answer.
std::string readFile(const std::string& mode, const std::string& path, const char* table)
{
    try {
        SourceFile* file = openSourceFileHere(path).release();
        if (mode == "tables") return tablestream::encodeTables(file->tables());
        const auto* rows = new SourceTable(file->read(table));
        return tablestream::encodeTable(*rows);
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const std::exception& e) {
        return tablestream::encodeFailure(e.what());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (!((mode == "tables" && argc == 3) || (mode == "read" && argc == 4))) return kUsage;
    const int stream = takeStandardOutput();
    if (stream < 0) return kWriteFailed;
    try {
        const auto* bytes = new std::string(readFile(mode, argv[2], argc == 4 ? argv[3] : nullptr));
        ::_exit(writeAll(stream, *bytes) ? 0 : kWriteFailed);  // nothing left to flush or free
    } catch (const std::bad_alloc&) {
        return kOutOfMemory;
    }
}
