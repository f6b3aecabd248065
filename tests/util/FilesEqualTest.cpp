// File size and byte-for-byte comparison across the 2048-byte blocks.
#include "util/FilesEqual.h"
#include "tests/support/TempFolder.h"
#include "util/FileSize.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

class FilesEqualTest : public ::testing::Test {
protected:
    testsupport::TempFolder m_folder;
};

TEST_F(FilesEqualTest, FileSizeOfFilesFoldersAndMissingPaths) {
    EXPECT_EQ(util::FileSize(m_folder.Write("five", "12345")), 5u);
    EXPECT_EQ(util::FileSize(m_folder.Write("empty", "")), 0u);
    EXPECT_EQ(util::FileSize(m_folder.File("missing")), 0u);
    EXPECT_EQ(util::FileSize(m_folder.Path()), 0u) << "a folder cannot be opened";
    EXPECT_EQ(util::FileSize(""), 0u);
    const std::string fifo = m_folder.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(util::FileSize(fifo), 0u) << "returns instead of waiting for a writer";
}

TEST_F(FilesEqualTest, DifferencesAtBlockEdges) {
    for (const std::size_t size : {1u, 2047u, 2048u, 2049u, 4096u}) {
        const std::string data(size, 'a');
        const std::string first = m_folder.Write("a", data);
        EXPECT_TRUE(util::FilesEqual(first, m_folder.Write("b", data))) << size;
        for (const std::size_t at : {std::size_t{0}, size / 2, size - 1}) {
            std::string changed = data;
            changed[at] = 'b';
            EXPECT_FALSE(util::FilesEqual(first, m_folder.Write("b", changed)))
                << "size " << size << ", byte " << at;
        }
    }
}

TEST_F(FilesEqualTest, DifferentSizesAreNotEqual) {
    EXPECT_FALSE(util::FilesEqual(m_folder.Write("a", "abc"), m_folder.Write("b", "abcd")));
    EXPECT_FALSE(util::FilesEqual(m_folder.Write("c", ""), m_folder.Write("d", "x")));
    EXPECT_TRUE(util::FilesEqual(m_folder.Write("e", ""), m_folder.Write("f", "")));
}

TEST_F(FilesEqualTest, UnopenableFileOfMatchingSizeCountsAsEqual) {
    // A missing file has size 0, as has an empty one; then neither can be
    // compared and the answer is "equal".
    EXPECT_TRUE(util::FilesEqual(m_folder.Write("empty", ""), m_folder.File("missing")));
    EXPECT_TRUE(util::FilesEqual(m_folder.File("missing"), m_folder.File("also-missing")));
    EXPECT_FALSE(util::FilesEqual(m_folder.Write("full", "x"), m_folder.File("missing")));
}

} // namespace
