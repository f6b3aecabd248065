#include "platform/shell/DetachedSpawn.h"

#include "util/Environment.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

// The file that exec would run for `program`: as given when it names a path,
// else the first executable of that name in PATH; empty when there is none.
std::string ResolveProgram(const std::string& program) {
    if (program.empty() || program.find('/') != std::string::npos) {
        return program;
    }
    const std::string pathValue = util::EnvironmentValue("PATH");
    std::string_view path = pathValue;
    if (path.empty()) {
        path = "/usr/local/bin:/usr/bin:/bin";
    }
    while (true) {
        const size_t colon = path.find(':');
        std::string folder(path.substr(0, colon));
        std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        if (colon == std::string_view::npos) {
            return {};
        }
        path.remove_prefix(colon + 1);
    }
}

void WriteErrno(int fd, int error) {
    // Nothing to do when the report cannot be written: the parent then takes
    // the start as done, which is all it could learn anyway.
    [[maybe_unused]] const ssize_t written = ::write(fd, &error, sizeof error);
}

// The program's side, between fork and exec: only async-signal-safe calls.
[[noreturn]] void RunProgram(const char* file, char* const* argv, const char* folder,
                             int reportFd) {
    if (folder != nullptr && ::chdir(folder) != 0) {
        WriteErrno(reportFd, errno);
        ::_exit(127);
    }
    const int nullFd = ::open("/dev/null", O_RDWR);
    if (nullFd >= 0) {
        ::dup2(nullFd, STDIN_FILENO);
        ::dup2(nullFd, STDOUT_FILENO);
        if (nullFd > STDERR_FILENO) {
            ::close(nullFd);
        }
    }
    // The program starts with default signal handling whatever this process
    // blocked or ignored (a network library may ignore SIGPIPE, for one).
    sigset_t none;
    ::sigemptyset(&none);
    // The forked child has a single thread, for which sigprocmask is defined.
    ::sigprocmask(SIG_SETMASK, &none, nullptr); // NOLINT(concurrency-mt-unsafe)
    ::signal(SIGPIPE, SIG_DFL);
    ::execve(file, argv, environ);
    WriteErrno(reportFd, errno);
    ::_exit(127);
}

} // namespace

bool SpawnDetached(const std::string& programPath, const std::vector<std::string>& arguments,
                   const std::string& workingFolder) {
    const std::string file = ResolveProgram(programPath);
    if (file.empty()) {
        return false;
    }
    // Everything the children need is made before fork: after it, in a
    // process with other threads, only async-signal-safe calls are allowed.
    std::vector<std::string> argStrings;
    argStrings.reserve(arguments.size() + 1);
    argStrings.push_back(programPath);
    argStrings.insert(argStrings.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    argv.reserve(argStrings.size() + 1);
    for (std::string& arg : argStrings) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const char* folder = workingFolder.empty() ? nullptr : workingFolder.c_str();

    // The report pipe closes on exec: end of file without a word means the
    // program's image was loaded; an errno means it was not.
    int report[2] = {-1, -1};
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return false;
    }
    const pid_t middle = ::fork();
    if (middle == 0) {
        ::close(report[0]);
        ::setsid();
        const pid_t program = ::fork();
        if (program == 0) {
            RunProgram(file.c_str(), argv.data(), folder, report[1]);
        }
        if (program < 0) {
            WriteErrno(report[1], errno);
        }
        ::_exit(0);
    }
    ::close(report[1]);
    if (middle < 0) {
        ::close(report[0]);
        return false;
    }
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    int childError = 0;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    return got == 0;
}

} // namespace platform
