// The file classes on real files: open flags, reads and writes at the edges, errors as
// exceptions with errno, cause and path, the 32-bit positions; sizes and positions past
// 4 GiB in sparse files, truncation, and byte-range locks between open files.
#include "engine/largefile/CFile.h"
#include "engine/largefile/CFile64.h"
#include "tests/support/TempFolder.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using engine::CFile;
using engine::CFile64;
using engine::CFileException;

constexpr unsigned kCreateRW = CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary;

class LargeFileTest : public ::testing::Test {
protected:
    std::string ReadAll(const std::string& path) {
        CFile file(path, CFile::modeRead);
        std::string text(file.GetLength(), '\0');
        text.resize(file.Read(text.data(), static_cast<unsigned>(text.size())));
        return text;
    }

    // A sparse file of `length` bytes; skips the test where the file system
    // cannot hold it.
    void MakeSparse(CFile64& file, std::uint64_t length) {
        try {
            file.SetLength64(length);
        } catch (const CFileException& e) {
            if (e.GetCause() == CFileException::diskFull) {
                GTEST_SKIP() << "file system cannot hold a sparse file of " << length << " bytes";
            }
            throw;
        }
    }

    testsupport::TempFolder m_folder;
    std::string m_path = m_folder.File("big.bin");
};

TEST_F(LargeFileTest, CreateTruncatesUnlessNoTruncateWhichAppendsAtTheEnd) {
    const std::string path = m_folder.Write("a.bin", "one ");
    {
        CFile keep(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite);
        EXPECT_EQ(keep.Seek(0, CFile::end), 4u);
        keep.Write("two", 3);
        keep.Flush();
    }
    EXPECT_EQ(ReadAll(path), "one two");
    { CFile empty(path, CFile::modeCreate | CFile::modeWrite); }
    EXPECT_EQ(ReadAll(path), "");
}

TEST_F(LargeFileTest, ReadStopsShortOnlyAtTheEnd) {
    const std::string path = m_folder.Write("r.bin", std::string(5000, 'r'));
    CFile file(path, CFile::modeRead);
    std::string buffer(4096, '\0');
    EXPECT_EQ(file.Read(buffer.data(), 4096), 4096u);
    EXPECT_EQ(file.Read(buffer.data(), 4096), 904u);
    EXPECT_EQ(file.Read(buffer.data(), 4096), 0u);
    EXPECT_EQ(file.Read(buffer.data(), 0), 0u);
    EXPECT_EQ(file.GetPosition(), 5000u);
}

TEST_F(LargeFileTest, WritingAReadOnlyFileThrowsWithItsPath) {
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

TEST_F(LargeFileTest, ThirtyTwoBitSeekFromEveryOrigin) {
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

constexpr unsigned kRW = CFile::modeReadWrite | CFile::shareDenyNone | CFile::typeBinary;
constexpr unsigned kRead = CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary;
constexpr std::uint64_t kFiveGB = 5'000'000'000ull;

// Runs `action` and returns the errno of the CFileException it throws (0 if none).
template <typename Action> int ErrnoOf(Action action) {
    try {
        action();
    } catch (const CFileException& e) {
        return e.GetOsError();
    }
    return 0;
}

// A sparse file of 4 GiB - 1 reports its length to the 32-bit calls too (all bits set is a
// length, not a failure); one of 5 GB is written and read back past 4 GiB, and the 32-bit
// calls refuse its sizes, leaving the pointer alone.
TEST_F(LargeFileTest, SparseFilesAroundFourGiB) {
    constexpr std::uint64_t kLength = 4'294'967'295ull;
    CFile64 file(m_path, kCreateRW);
    MakeSparse(file, kLength);
    if (IsSkipped()) {
        return;
    }
    file.Close();
    CFile64 reader(m_path, kRead);
    EXPECT_EQ(reader.GetLength(), 0xFFFFFFFFu);
    EXPECT_EQ(reader.Seek64(0, CFile::end), kLength);
    EXPECT_EQ(reader.GetPosition(), 0xFFFFFFFFu);
    reader.Close();

    ASSERT_TRUE(file.Open(m_path, kCreateRW));
    MakeSparse(file, kFiveGB);
    EXPECT_EQ(file.GetPosition64(), kFiveGB);
    EXPECT_EQ(ErrnoOf([&] { file.GetLength(); }), EOVERFLOW);
    EXPECT_EQ(ErrnoOf([&] { file.GetPosition(); }), EOVERFLOW);
    const std::uint64_t at = kFiveGB - 1000;
    ASSERT_EQ(file.Seek64(static_cast<std::int64_t>(at), CFile::begin), at);
    EXPECT_EQ(ErrnoOf([&] { file.Seek(0, CFile::end); }), EOVERFLOW);
    EXPECT_EQ(file.GetPosition64(), at) << "a refused Seek leaves the pointer alone";
    const unsigned char written = 0xA5;
    file.Write(&written, 1);
    EXPECT_EQ(file.GetLength64(), kFiveGB);
    file.Close();
    ASSERT_TRUE(reader.Open(m_path, kRead));
    EXPECT_EQ(reader.Seek64(-1000, CFile::end), at);
    unsigned char bytes[2] = {0, 0xFF};
    ASSERT_EQ(reader.Read(bytes, 2), 2u);
    EXPECT_EQ(bytes[0], 0xA5);
    EXPECT_EQ(bytes[1], 0x00); // the hole reads as zeros
}

TEST_F(LargeFileTest, SetLengthTruncatesToThePointerAndGrowsWithZeros) {
    CFile64 file(m_path, kCreateRW);
    const std::string data(10000, 'x');
    file.Write(data.data(), static_cast<unsigned>(data.size()));
    file.Seek64(10, CFile::begin);

    file.SetLength64(4000);
    EXPECT_EQ(file.GetLength64(), 4000u);
    EXPECT_EQ(file.GetPosition64(), 4000u);
    char byte = 0;
    EXPECT_EQ(file.Read(&byte, 1), 0u) << "nothing after the new end";

    file.SetLength64(0);
    EXPECT_EQ(file.GetLength64(), 0u);
    EXPECT_EQ(file.GetPosition64(), 0u);

    // Growing fills with zeros.
    file.Write("ab", 2);
    file.SetLength64(5);
    file.Seek64(0, CFile::begin);
    char bytes[8] = {};
    ASSERT_EQ(file.Read(bytes, sizeof(bytes)), 5u);
    EXPECT_EQ(std::string(bytes, 5), std::string("ab\0\0\0", 5));
}

TEST_F(LargeFileTest, BadSeeksThrowAndKeepThePointer) {
    CFile64 file(m_path, kCreateRW);
    file.Write("abc", 3);
    EXPECT_EQ(ErrnoOf([&] { file.Seek64(-4, CFile::current); }), EINVAL);
    EXPECT_EQ(ErrnoOf([&] { file.Seek64(0, 3); }), EINVAL) << "unknown origin";
    EXPECT_EQ(file.GetPosition64(), 3u);
    EXPECT_EQ(ErrnoOf([&] { file.SetLength64(~0ull); }), EINVAL);
}

// ---- Byte-range locks ----

TEST_F(LargeFileTest, LocksOfTwoObjectsConflictUntilUnlockedOrClosed) {
    CFile64 second(m_path, kCreateRW);
    {
        CFile64 first(m_path, kRW);
        first.LockRange64(0, 100);
        try {
            second.LockRange64(50, 10);
            FAIL() << "the range is held by the first file";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.GetCause(), CFileException::lockViolation);
            EXPECT_EQ(e.GetOsError(), EAGAIN);
            EXPECT_EQ(e.GetFileName(), m_path);
        }
        EXPECT_NO_THROW(second.LockRange64(100, 100)) << "right next to the held range";
        EXPECT_EQ(ErrnoOf([&] { first.LockRange64(199, 1); }), EAGAIN);
        first.UnlockRange64(0, 100);
        EXPECT_NO_THROW(second.LockRange64(50, 10));
        second.UnlockRange64(50, 10);
        first.Close();
        ASSERT_TRUE(first.Open(m_path, kRW));
        first.LockRange64(0, 10);
    } // destroyed while holding the lock
    EXPECT_NO_THROW(second.LockRange64(0, 10));
}

// ---- Paths and errors ----

TEST_F(LargeFileTest, OpenInAMissingFolderThrowsOrReportsErrnoAndPathAsGiven) {
    const std::string missing = m_folder.File("no-such-folder/file.bin");
    CFile reporting;
    CFileException error(0, "");
    EXPECT_FALSE(reporting.Open(missing, CFile::modeRead, &error));
    EXPECT_EQ(error.GetOsError(), ENOENT);
    EXPECT_FALSE(reporting.IsOpen());
    EXPECT_FALSE(reporting.Open(missing, CFile::modeRead)) << "error optional";
    try {
        CFile64 file(missing, kCreateRW);
        FAIL() << "opened a file in a missing folder";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.GetOsError(), ENOENT);
        EXPECT_EQ(e.GetCause(), CFileException::fileNotFound);
        EXPECT_EQ(e.GetFileName(), missing);
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos);
    }
}

TEST_F(LargeFileTest, OperationsOnAClosedFileThrowEbadf) {
    CFile64 file;
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(ErrnoOf([&] { file.GetLength64(); }), EBADF);
    EXPECT_EQ(ErrnoOf([&] { file.Seek64(0, CFile::begin); }), EBADF);
    EXPECT_EQ(ErrnoOf([&] { file.LockRange64(0, 1); }), EBADF);
    EXPECT_EQ(ErrnoOf([&] { file.Close(); }), EBADF);
}

} // namespace
