// Temporary names: their form, the folder they are in, skipping taken names,
// and uniqueness across threads.
#include "util/TempFileName.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

int NumberOf(const std::string& name) {
    const std::size_t start = name.rfind("Temp") + 4;
    return std::stoi(name.substr(start, name.rfind('.') - start));
}

// How far the number moves from one seed to the next: 214013 / 65536 is
// about 3.27, so 3 or 4, modulo 32768.
int Step(int from, int to) {
    return (to - from + 32768) % 32768;
}

class TempFileNameTest : public ::testing::Test {
protected:
    testsupport::TempFolder m_folder;
    testsupport::ScopedEnv m_tmpdir{"TMPDIR", m_folder.Path().c_str()};
    std::string m_prefix = m_folder.Path() + "Temp";
};

TEST_F(TempFileNameTest, TakenNamesAreSkipped) {
    const int probe = NumberOf(util::CreateTempFile("tmp"));
    // Whatever the next seed gives, it is one of these two; a dangling link
    // is taken as much as a file.
    const std::string file = m_prefix + std::to_string((probe + 3) % 32768) + ".tmp";
    const std::string link = m_prefix + std::to_string((probe + 4) % 32768) + ".tmp";
    m_folder.Write(std::filesystem::path(file).filename().string(), "");
    std::filesystem::create_symlink(m_folder.File("nowhere"), link);

    const std::string name = util::CreateTempFile("tmp");
    EXPECT_NE(name, file);
    EXPECT_NE(name, link);
    EXPECT_GE(Step(probe, NumberOf(name)), 6) << "one seed skipped";
    EXPECT_LE(Step(probe, NumberOf(name)), 8) << "only one seed skipped";
}

TEST_F(TempFileNameTest, MissingTmpdirFallsBackToSlashTmp) {
    testsupport::ScopedEnv missing("TMPDIR", m_folder.File("not-there").c_str());
    const std::string name = util::CreateTempFile("x");
    EXPECT_EQ(name.rfind("/tmp/Temp", 0), 0u) << name;
}

TEST_F(TempFileNameTest, FolderFullOfNamesGivesEmptyText) {
    for (int number = 0; number <= 32767; ++number) {
        const std::string path = m_prefix + std::to_string(number) + ".full";
        std::FILE* file = std::fopen(path.c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fclose(file);
    }
    EXPECT_EQ(util::CreateTempFile("full"), "");
    EXPECT_NE(util::CreateTempFile("other"), "") << "other extensions are still free";
}

TEST_F(TempFileNameTest, ThreadsNeverShareASeed) {
    // Up to about 10,000 consecutive seeds give distinct numbers, so a seed
    // handed out twice shows up as a repeated name.
    constexpr int kThreads = 4;
    constexpr int kPerThread = 200;
    std::mutex mutex;
    std::set<std::string> names;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < kPerThread; ++i) {
                std::string name = util::CreateTempFile("mt");
                const std::lock_guard lock(mutex);
                names.insert(std::move(name));
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(names.size(), static_cast<std::size_t>(kThreads * kPerThread));
}

} // namespace
