// The file helpers on real files: existence with wildcards, sizes and byte-for-byte
// comparison, file versions, the program folder, and temporary names (skipping taken names,
// the folder they are in).
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"
#include "util/FileExists.h"
#include "util/FileSize.h"
#include "util/FileVersion.h"
#include "util/FilesEqual.h"
#include "util/ModuleFolder.h"
#include "util/TempFileName.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <vector>

namespace {

const std::string kCli = std::string(SONDREL_PROGRAM_DIR) + "/sondrel-cli";

class UtilFiles : public ::testing::Test {
protected:
    bool Exists(const std::string& name) const {
        return util::FileExists(m_folder.File(name).c_str());
    }

    testsupport::TempFolder m_folder;
};

TEST_F(UtilFiles, ExistenceWithoutTrimmingAndWithGlobWildcardsOnly) {
    for (const char* blank : {"", "   ", " \t\r\n "}) {
        EXPECT_FALSE(util::FileExists(blank)) << '"' << blank << '"';
    }
    EXPECT_FALSE(util::FileExists(nullptr));
    m_folder.Write("Track01.wav", "RIFF");
    EXPECT_TRUE(util::FileExists(m_folder.Path().c_str())) << "a folder is an entry too";
    EXPECT_FALSE(Exists("missing/Track01.wav"));
    EXPECT_FALSE(Exists("Track01.wav ")) << "the path is searched untrimmed";
    m_folder.Write(" padded ", "");
    EXPECT_TRUE(Exists(" padded "));
    for (const char* match : {"Track01.wav", "*.wav", "Track??.wav", "T*1.*"}) {
        EXPECT_TRUE(Exists(match)) << match;
    }
    for (const char* miss : {"Track01.mp3", "Track?.wav", "*.mp3", "Track[0-9]1.wav"}) {
        EXPECT_FALSE(Exists(miss)) << miss;
    }
    // Brackets and backslashes are ordinary characters of a file name.
    m_folder.Write("a[1].wav", "");
    EXPECT_TRUE(Exists("a[1].wav"));
    m_folder.Write("back\\slash", "");
    EXPECT_TRUE(Exists("back\\slash"));
    EXPECT_FALSE(Exists("backslash"));
    EXPECT_TRUE(Exists("back\\*")) << "a wildcard after a backslash still works";
}

TEST_F(UtilFiles, SizesAndComparisonAcrossTheBlockEdges) {
    EXPECT_EQ(util::FileSize(m_folder.Write("five", "12345")), 5u);
    EXPECT_EQ(util::FileSize(m_folder.File("missing")), 0u);
    EXPECT_EQ(util::FileSize(m_folder.Path()), 0u) << "a folder cannot be opened";
    const std::string fifo = m_folder.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(util::FileSize(fifo), 0u) << "returns instead of waiting for a writer";
    EXPECT_EQ(util::GetFileVersion(fifo), "") << "returns instead of waiting for a writer";

    for (const std::size_t size : {1u, 2047u, 2048u, 2049u, 4096u}) {
        const std::string data(size, 'a');
        const std::string first = m_folder.Write("a", data);
        EXPECT_TRUE(util::FilesEqual(first, m_folder.Write("b", data))) << size;
        EXPECT_FALSE(util::FilesEqual(first, m_folder.Write("b", data + "a"))) << size;
        for (const std::size_t at : {std::size_t{0}, size / 2, size - 1}) {
            std::string changed = data;
            changed[at] = 'b';
            EXPECT_FALSE(util::FilesEqual(first, m_folder.Write("b", changed)))
                << "size " << size << ", byte " << at;
        }
    }
    // A missing file has size 0, as has an empty one; then neither can be
    // compared and the answer is "equal".
    EXPECT_TRUE(util::FilesEqual(m_folder.Write("empty", ""), m_folder.File("missing")));
    EXPECT_FALSE(util::FilesEqual(m_folder.Write("full", "x"), m_folder.File("missing")));
}

TEST_F(UtilFiles, OurExecutableCarriesTheVersionAndDamagedOrOtherFilesNone) {
    ASSERT_TRUE(std::filesystem::exists(kCli)) << kCli;
    EXPECT_EQ(util::GetFileVersion(kCli), SONDREL_VERSION);
    for (const std::string& path :
         {std::string("/bin/sh"), m_folder.Write("empty", ""), m_folder.Write("text", "1.0.0.1\n"),
          m_folder.File("missing"), m_folder.Path(), std::string()}) {
        EXPECT_EQ(util::GetFileVersion(path), "") << path;
    }
    const std::string copy = m_folder.File("sondrel-cli");
    const auto size = std::filesystem::file_size(kCli);
    for (const auto keep : {size / 2, size - 1, std::uintmax_t{64}, std::uintmax_t{20}}) {
        std::filesystem::copy_file(kCli, copy, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::resize_file(copy, keep);
        EXPECT_EQ(util::GetFileVersion(copy), "") << "kept " << keep << " of " << size;
    }
}

// The tests run from build/tests/; the test binary is the running module.
TEST(ModuleFolder, FillsAndZeroesTheBufferOrGivesErange) {
    const std::string expected =
        std::filesystem::canonical("/proc/self/exe").parent_path().string() + "/";
    EXPECT_EQ(util::GetModuleFolder(), expected);
    for (const std::size_t size : {std::size_t{4096}, expected.size() + 1}) {
        std::vector<char> buffer(size, 'x');
        ASSERT_EQ(util::GetModuleFolder(buffer.data(), static_cast<unsigned>(size)), 0) << size;
        EXPECT_EQ(std::string(buffer.data()), expected);
        EXPECT_EQ(
            std::vector<char>(buffer.begin() + static_cast<long>(expected.size()), buffer.end()),
            std::vector<char>(size - expected.size(), '\0'))
            << "the rest of the buffer is zeroed";
    }
    std::vector<char> buffer(expected.size() + 8, 'x');
    const unsigned tooSmall = static_cast<unsigned>(expected.size());
    EXPECT_EQ(util::GetModuleFolder(buffer.data(), tooSmall), ERANGE);
    EXPECT_EQ(std::vector<char>(buffer.begin(), buffer.begin() + tooSmall),
              std::vector<char>(tooSmall, '\0'));
    EXPECT_EQ(buffer[tooSmall], 'x') << "nothing written past the given size";
    EXPECT_EQ(util::GetModuleFolder(buffer.data(), 0), ERANGE);
}

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

} // namespace
