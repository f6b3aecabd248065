// The base file class: open flags, reads and writes at the edges, errors as
// exceptions with errno, cause and path, and the 32-bit positions.
#include "engine/largefile/CFile.h"
#include "tests/support/TempFolder.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using engine::CFile;
using engine::CFileException;

constexpr unsigned kCreateRW = CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary;

class CFileTest : public ::testing::Test {
protected:
    std::string ReadAll(const std::string& path) {
        CFile file(path, CFile::modeRead);
        std::string text(file.GetLength(), '\0');
        text.resize(file.Read(text.data(), static_cast<unsigned>(text.size())));
        return text;
    }

    testsupport::TempFolder m_folder;
};

TEST_F(CFileTest, CreateTruncatesUnlessNoTruncate) {
    const std::string path = m_folder.Write("a.bin", "0123456789");
    { CFile keep(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite); }
    EXPECT_EQ(ReadAll(path), "0123456789");
    { CFile empty(path, CFile::modeCreate | CFile::modeWrite); }
    EXPECT_EQ(ReadAll(path), "");
}

TEST_F(CFileTest, NoTruncateOpensAnExistingFileForAppendingAtItsEnd) {
    const std::string path = m_folder.Write("log.txt", "one ");
    CFile file(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
    EXPECT_EQ(file.Seek(0, CFile::end), 4u);
    file.Write("two", 3);
    file.Flush();
    EXPECT_EQ(ReadAll(path), "one two");
}

TEST_F(CFileTest, ReadStopsShortOnlyAtTheEnd) {
    const std::string path = m_folder.Write("r.bin", std::string(5000, 'r'));
    CFile file(path, CFile::modeRead);
    std::string buffer(4096, '\0');
    EXPECT_EQ(file.Read(buffer.data(), 4096), 4096u);
    EXPECT_EQ(file.Read(buffer.data(), 4096), 904u);
    EXPECT_EQ(file.Read(buffer.data(), 4096), 0u);
    EXPECT_EQ(file.Read(buffer.data(), 0), 0u);
    EXPECT_EQ(file.GetPosition(), 5000u);
}

TEST_F(CFileTest, OpenReportsInsteadOfThrowing) {
    CFile file;
    CFileException error(0, "");
    EXPECT_FALSE(file.Open(m_folder.File("missing.bin"), CFile::modeRead, &error));
    EXPECT_EQ(error.GetOsError(), ENOENT);
    EXPECT_EQ(error.GetCause(), CFileException::fileNotFound);
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Open(m_folder.File("missing.bin"), CFile::modeRead)) << "error optional";
}

TEST_F(CFileTest, InvalidFlagsAreRefused) {
    const std::string path = m_folder.Write("f.bin", "x");
    CFile file;
    CFileException error(0, "");
    EXPECT_FALSE(file.Open(path, CFile::modeWrite | CFile::modeReadWrite, &error));
    EXPECT_EQ(error.GetOsError(), EINVAL);
    EXPECT_FALSE(file.Open(path, 0x0100, &error)) << "unknown flag";
    EXPECT_EQ(error.GetOsError(), EINVAL);
}

TEST_F(CFileTest, DirectoriesAreNotFiles) {
    try {
        CFile file(m_folder.Path(), CFile::modeRead);
        FAIL() << "opened a directory";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetOsError(), EISDIR);
        EXPECT_EQ(e.GetCause(), CFileException::accessDenied);
    }
}

TEST_F(CFileTest, OpeningTwiceIsRefusedAndKeepsTheFirstFile) {
    const std::string first = m_folder.Write("first.bin", "1");
    const std::string second = m_folder.Write("second.bin", "22");
    CFile file(first, CFile::modeRead);
    CFileException error(0, "");
    EXPECT_FALSE(file.Open(second, CFile::modeRead, &error));
    EXPECT_EQ(error.GetOsError(), EBUSY);
    EXPECT_EQ(file.GetLength(), 1u);
}

TEST_F(CFileTest, WritingAReadOnlyFileThrowsWithItsPath) {
    const std::string path = m_folder.Write("ro.bin", "abc");
    CFile file(path, CFile::modeRead);
    try {
        file.Write("x", 1);
        FAIL() << "wrote to a file opened for reading";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetOsError(), EBADF);
        EXPECT_EQ(e.GetCause(), CFileException::invalidFile);
        EXPECT_EQ(e.GetFileName(), file.GetFilePath());
    }
}

TEST_F(CFileTest, BasePathIsAbsoluteAndNormalised) {
    const std::string previous = std::filesystem::current_path().string();
    std::filesystem::create_directory(m_folder.File("sub"));
    std::filesystem::current_path(m_folder.Path());
    CFile file;
    const bool opened = file.Open("sub/../b.bin", kCreateRW);
    std::filesystem::current_path(previous);
    ASSERT_TRUE(opened);
    EXPECT_EQ(file.GetFilePath(), m_folder.File("b.bin"));
}

TEST_F(CFileTest, ThirtyTwoBitSeekFromEveryOrigin) {
    const std::string path = m_folder.Write("s.bin", "0123456789");
    CFile file(path, CFile::modeRead);
    EXPECT_EQ(file.Seek(3, CFile::begin), 3u);
    EXPECT_EQ(file.Seek(2, CFile::current), 5u);
    EXPECT_EQ(file.Seek(-1, CFile::end), 9u);
    char c = 0;
    ASSERT_EQ(file.Read(&c, 1), 1u);
    EXPECT_EQ(c, '9');
    EXPECT_THROW(file.Seek(-20, CFile::current), CFileException);
    EXPECT_EQ(file.GetPosition(), 10u);
}

TEST_F(CFileTest, CloseMakesTheObjectReusable) {
    const std::string path = m_folder.Write("c.bin", "c");
    CFile file(path, CFile::modeRead);
    file.Close();
    EXPECT_FALSE(file.IsOpen());
    EXPECT_THROW(file.Read(nullptr, 0), CFileException);
    EXPECT_TRUE(file.Open(path, CFile::modeRead));
    EXPECT_EQ(file.GetLength(), 1u);
}

} // namespace
