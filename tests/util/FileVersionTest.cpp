// File versions of real files: our own executable, files without the note,
// and damaged copies.
#include "util/FileVersion.h"
#include "tests/support/ElfBuilder.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const std::string kCli = std::string(SONDREL_PROGRAM_DIR) + "/sondrel-cli";

class FileVersionTest : public ::testing::Test {
protected:
    testsupport::TempFolder m_folder;
};

TEST_F(FileVersionTest, OurExecutableCarriesTheProjectVersion) {
    ASSERT_TRUE(std::filesystem::exists(kCli)) << kCli;
    EXPECT_EQ(util::GetFileVersion(kCli), SONDREL_VERSION);
}

TEST_F(FileVersionTest, FilesWithoutTheNoteGiveEmptyText) {
    if (std::filesystem::exists("/bin/sh")) {
        EXPECT_EQ(util::GetFileVersion("/bin/sh"), "");
    }
    EXPECT_EQ(util::GetFileVersion(m_folder.Write("empty", "")), "");
    EXPECT_EQ(util::GetFileVersion(m_folder.Write("text", "1.0.0.1\n")), "");
    EXPECT_EQ(util::GetFileVersion(m_folder.File("missing")), "");
    EXPECT_EQ(util::GetFileVersion(m_folder.Path()), "");
    EXPECT_EQ(util::GetFileVersion(""), "");
}

TEST_F(FileVersionTest, FifoWithoutWriterGivesEmptyTextAtOnce) {
    const std::string fifo = m_folder.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(util::GetFileVersion(fifo), "") << "returns instead of waiting for a writer";
}

TEST_F(FileVersionTest, TruncatedCopiesOfOurExecutableGiveEmptyText) {
    ASSERT_TRUE(std::filesystem::exists(kCli));
    const std::string copy = m_folder.File("sondrel-cli");
    const auto size = std::filesystem::file_size(kCli);
    for (const auto keep : {size / 2, size - 1, std::uintmax_t{64}, std::uintmax_t{20}}) {
        std::filesystem::copy_file(kCli, copy, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::resize_file(copy, keep);
        EXPECT_EQ(util::GetFileVersion(copy), "") << "kept " << keep << " of " << size;
    }
}

TEST_F(FileVersionTest, HandMadeImageOnDisk) {
    const auto image = testsupport::ElfBuilder(false, true)
                           .AddNotes({testsupport::ElfBuilder::VersionNote("9.8.7.6")})
                           .Build();
    const std::string path = m_folder.Write(
        "be32.elf", std::string(reinterpret_cast<const char*>(image.data()), image.size()));
    EXPECT_EQ(util::GetFileVersion(path), "9.8.7.6");
}

} // namespace
