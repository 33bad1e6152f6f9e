#include "exchange/ReaderProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <optional>

#include "exchange/TableStream.h"

#ifndef RSGZ_READER_BUILD_PATH
#define RSGZ_READER_BUILD_PATH ""
#endif

namespace rsgz::exchange {

namespace {

// What the reader says by its exit status, beside 0.
constexpr int kOutOfMemory = 3;

void closeQuietly(int& fd)
{
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Between fork and exec only calls that are safe in the child of a threaded program.
[[noreturn]] void execReader(const char* program, char* const argv[], int devNull, int out, const ReaderLimits& limits)
{
    ::dup2(devNull, STDIN_FILENO);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(devNull, STDERR_FILENO);  // the libraries' warnings about a damaged file go nowhere
    const auto limit = [](int resource, rlim_t value) {
        const rlimit r{value, value};
        ::setrlimit(resource, &r);
    };
    limit(RLIMIT_AS, static_cast<rlim_t>(limits.memoryBytes));
    // The processor time is a second guard behind the watchdog, which may itself be held up.
    limit(RLIMIT_CPU, static_cast<rlim_t>(std::chrono::ceil<std::chrono::seconds>(limits.time).count() + 1));
    limit(RLIMIT_CORE, 0);   // a crash leaves no core file beside the user's data
    limit(RLIMIT_FSIZE, 0);  // it reads; it writes no file
    limit(RLIMIT_NOFILE, 64);
    ::close_range(3, ~0U, 0);  // none of the program's files, the database included
    ::execv(program, argv);
    ::_exit(127);
}

std::string exitReason(int status)
{
    if (WIFSIGNALED(status)) {
        const int sig = WTERMSIG(status);
        if (sig == SIGXCPU) return "读取用的时间超过了上限";
        return "读取进程异常结束（信号 " + std::to_string(sig) + "）";
    }
    const int code = WEXITSTATUS(status);
    if (code == kOutOfMemory) return "读取用的内存超过了上限";
    if (code == 127) return "不能启动读取程序";
    return "读取进程以错误结束（" + std::to_string(code) + "）";
}

// Reads the child's output until it ends, the time is up or it wrote too much. Gives the reason
// to kill it, or nothing when it ended by itself.
std::optional<std::string> collect(int fd, const ReaderLimits& limits, std::string& out)
{
    const auto deadline = std::chrono::steady_clock::now() + limits.time;
    char buf[64 * 1024];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return "读取用的时间超过了上限";
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left.count(), INT_MAX)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return std::string("读取进程的输出不能读取：") + std::strerror(errno);
        if (ready == 0) continue;
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::string("读取进程的输出不能读取：") + std::strerror(errno);
        if (n == 0) return std::nullopt;  // the child closed its output: it has ended or is ending
        if (out.size() + static_cast<size_t>(n) > limits.outputBytes) return "读取进程的输出超过了上限";
        out.append(buf, static_cast<size_t>(n));
    }
}

int reap(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

}  // namespace

std::string runReader(const std::string& program, const std::vector<std::string>& args, const ReaderLimits& limits)
{
    if (::access(program.c_str(), X_OK) != 0) throw SourceError("找不到读取程序“" + program + "”");
    // Everything the child needs is made before the fork.
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw SourceError(std::string("不能启动读取程序：") + std::strerror(errno));
    int readEnd = pipeFds[0], writeEnd = pipeFds[1];
    int devNull = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    const pid_t pid = devNull < 0 ? -1 : ::fork();
    if (pid == 0) execReader(program.c_str(), argv.data(), devNull, writeEnd, limits);
    const int forkErrno = errno;
    closeQuietly(writeEnd);
    closeQuietly(devNull);
    if (pid < 0) {
        closeQuietly(readEnd);
        throw SourceError(std::string("不能启动读取程序：") + std::strerror(forkErrno));
    }

    std::string out;
    out.reserve(size_t{1} << 20);
    const std::optional<std::string> overrun = collect(readEnd, limits, out);
    if (overrun) ::kill(pid, SIGKILL);
    closeQuietly(readEnd);
    const int status = reap(pid);
    if (overrun) throw SourceError(*overrun);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw SourceError(exitReason(status));
    return out;
}

std::string readerProgram()
{
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n > 0) {
        const std::string dir = QFileInfo(QString::fromLocal8Bit(self, n)).absolutePath().toStdString();
        // Beside the program in a program directory; installed, /usr/libexec/rsgz beside /usr/bin.
        for (const std::string& candidate : {dir + "/rsgz_reader", dir + "/../libexec/rsgz/rsgz_reader"})
            if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    // The tests and benchmarks run from the build, beside the program directory it lays out.
    return RSGZ_READER_BUILD_PATH;
}

namespace {

class ContainedFile : public SourceFile {
public:
    ContainedFile(std::string path, const ReaderLimits& limits) : path_(std::move(path)), limits_(limits) {}

    std::vector<std::string> tables() override
    {
        if (!tables_) tables_ = run({"tables", path_}).names;
        return *tables_;
    }

    SourceTable read(const std::string& table) override
    {
        SourceTable t = std::move(run({"read", path_, table}).table);
        tidyTable(t);
        return t;
    }

private:
    tablestream::Decoded run(const std::vector<std::string>& args) const
    {
        // A missing reader is a fault of the installation, not of the file.
        const std::string program = readerProgram();
        if (::access(program.c_str(), X_OK) != 0)
            throw SourceError("找不到读取程序 rsgz_reader，不能读取文件“" + path_ + "”。请重新安装本程序。");
        tablestream::Decoded d;
        try {
            d = tablestream::decode(runReader(program, args, limits_));
        } catch (const SourceError& e) {
            throw SourceError("文件已损坏或不是受支持的格式：" + path_ + "\n" + e.what());
        }
        if (d.kind == tablestream::Decoded::Kind::Failure)
            throw SourceError("文件已损坏或不是受支持的格式：" + path_ + "\n" + d.reason);
        const bool wanted = args[0] == "tables" ? d.kind == tablestream::Decoded::Kind::Tables
                                                : d.kind == tablestream::Decoded::Kind::Table;
        if (!wanted) throw SourceError("文件已损坏或不是受支持的格式：" + path_ + "\n读取进程的输出有误");
        return d;
    }

    std::string path_;
    ReaderLimits limits_;
    std::optional<std::vector<std::string>> tables_;
};

}  // namespace

std::unique_ptr<SourceFile> openContainedFile(const std::string& path, const ReaderLimits& limits)
{
    return std::make_unique<ContainedFile>(path, limits);
}

}  // namespace rsgz::exchange
