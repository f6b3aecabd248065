// The shell service end to end: a recorder takes the place of the desktop, and
// real detached starts of small scripts report what they were given.

#include "platform/shell/Shell.h"
#include "tests/support/RecordingShell.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <thread>

namespace {

// A script that writes, once it ran: its standard input, its working folder
// and its arguments, one a line. The marker appears whole (written, then renamed).
std::string WriteReportingScript(const testsupport::TempFolder& temp, const std::string& name) {
    const std::string marker = temp.File("marker");
    const std::string script = "#!/bin/sh\n"
                               "in=$(readlink /proc/$$/fd/0)\n"
                               "out=$(readlink /proc/$$/fd/1)\n"
                               "{ echo \"$in\"; echo \"$out\"; pwd; for a in \"$@\"; do\n"
                               "echo \"$a\"; done; } > \"" +
                               marker + ".tmp\"\nmv \"" + marker + ".tmp\" \"" + marker + "\"\n";
    const std::string path = temp.Write(name, script);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
}

// The marker's text once the detached script has written it; empty if it never
// does (the wait is bounded so a broken start fails instead of hanging).
std::string AwaitMarker(const testsupport::TempFolder& temp) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        if (std::filesystem::exists(temp.File("marker"))) {
            return temp.Read("marker");
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

bool HasChildren() {
    int status = 0;
    return !(::waitpid(-1, &status, WNOHANG) < 0 && errno == ECHILD);
}

} // namespace

TEST(ShellService, ReplacementReceivesCallsUntilTheDefaultIsRestored) {
    platform::IShell* desktop = &platform::Shell();
    {
        testsupport::RecordingShell recorder(false);
        EXPECT_EQ(&platform::Shell(), &recorder);
        EXPECT_FALSE(platform::Shell().Open("http://127.0.0.1/", "/tmp"));
        EXPECT_FALSE(platform::Shell().Start("/opt/update", {"a", "b"}, "/opt"));
        using Request = testsupport::RecordingShell::Request;
        EXPECT_EQ(recorder.Requests(),
                  (std::vector<Request>{{"open", "http://127.0.0.1/", {}, "/tmp"},
                                        {"start", "/opt/update", {"a", "b"}, "/opt"}}));
    }
    EXPECT_EQ(&platform::Shell(), desktop);
    EXPECT_EQ(platform::SetShell(nullptr), nullptr);
}

TEST(ShellService, StartRunsTheProgramDetachedInItsFolder) {
    testsupport::TempFolder temp;
    const std::string script = WriteReportingScript(temp, "report.sh");
    std::filesystem::create_directory(temp.File("work"));

    ASSERT_TRUE(platform::Shell().Start(script, {"first arg", "-x"}, temp.File("work")));
    // The middle child has been reaped and the program is not our child.
    EXPECT_FALSE(HasChildren());
    const std::string expected = "/dev/null\n/dev/null\n" + temp.File("work") + "\nfirst arg\n-x\n";
    EXPECT_EQ(AwaitMarker(temp), expected);
}

TEST(ShellService, StartReportsWhatCouldNotBeStarted) {
    testsupport::TempFolder temp;
    const std::string script = WriteReportingScript(temp, "report.sh");
    const std::string plain = temp.Write("plain.txt", "not a program\n");

    EXPECT_FALSE(platform::Shell().Start(temp.File("missing"), {}, ""));
    EXPECT_FALSE(platform::Shell().Start(plain, {}, ""));
    EXPECT_FALSE(platform::Shell().Start(script, {}, temp.File("no-such-folder")));
    EXPECT_FALSE(platform::Shell().Start("", {}, ""));
    EXPECT_FALSE(HasChildren());
    EXPECT_FALSE(std::filesystem::exists(temp.File("marker")));
}

TEST(ShellService, OpenHandsTheTargetToTheDesktopHandlerFoundInPath) {
    testsupport::TempFolder temp;
    WriteReportingScript(temp, "bin/xdg-open");
    const char* oldPath = std::getenv("PATH");
    const std::string savedPath = oldPath != nullptr ? oldPath : "";
    ::setenv("PATH", (temp.File("bin") + ":" + savedPath).c_str(), 1);

    const bool opened = platform::Shell().Open("https://127.0.0.1/a b?c=1", temp.Path());
    ::setenv("PATH", savedPath.c_str(), 1);

    ASSERT_TRUE(opened);
    const std::string folder = temp.Path().substr(0, temp.Path().size() - 1);
    EXPECT_EQ(AwaitMarker(temp),
              "/dev/null\n/dev/null\n" + folder + "\nhttps://127.0.0.1/a b?c=1\n");
    EXPECT_FALSE(platform::Shell().Open("", ""));
}
