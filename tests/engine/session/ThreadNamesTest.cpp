// The threads of a take carry names, so a debugger or `top -H` tells them apart.
#include "tests/engine/session/SessionFixture.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <system_error>
#include <vector>

namespace {

std::set<std::string> ThreadNamesNow() {
    std::set<std::string> names;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (std::getline(comm, name)) { // a thread that just ended has no file any more
            names.insert(name);
        }
    }
    return names;
}

class TakeThreads : public SessionFixture {};

TEST_F(TakeThreads, EveryThreadOfACdAndOfAnMp3TakeCarriesItsName) {
    struct Take {
        bool toFile;
        std::vector<std::string> threads;
    };
    MakeDrive();
    m_view.SetPath(m_folder.Path() + "/take.mp3");
    for (const Take& take : {Take{false, {"capture", "display", "writer"}},
                             Take{true, {"capture", "display", "encoder"}}}) {
        m_view.m_toFile.store(take.toFile);
        m_session->StartRecording();
        ASSERT_TRUE(m_session->IsRecording());
        WaitUntil(
            [&] {
                const std::set<std::string> running = ThreadNamesNow();
                for (const std::string& name : take.threads) {
                    if (running.count(name) == 0) {
                        return false;
                    }
                }
                return true;
            },
            take.toFile ? "the named threads of an MP3 take" : "the named threads of a CD take");
        m_session->StopRecording();
        WaitUntilIdle();
    }
}

} // namespace
