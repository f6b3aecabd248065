#pragma once
// An open file: a POSIX file descriptor plus the path it was opened under.
// Positions and lengths of this class are 32-bit; CFile64 extends them to 64
// bits. Every failure throws CFileException, except Open, which reports.

#include "engine/largefile/CFileException.h"

#include <cstdint>
#include <string>

namespace engine {

class CFile {
public:
    // Open flags. One access mode, optionally combined with the others.
    // There are no sharing modes on POSIX: every file is opened as
    // shareDenyNone, and typeBinary is the only kind of file there is.
    enum OpenFlags : unsigned {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareDenyNone = 0x0040,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeBinary = 0x8000,
    };

    // Origins for Seek.
    enum SeekPosition : unsigned { begin = 0, current = 1, end = 2 };

    CFile() = default;
    // Opens the file and throws CFileException when that fails.
    CFile(const std::string& path, unsigned openFlags);
    // Closes the descriptor if it is still open; errors are not reported here.
    virtual ~CFile();

    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Opens `path`; on failure fills `error` (when given) and returns false.
    // Directories are refused (EISDIR). modeCreate creates the file and
    // empties it unless modeNoTruncate is given too.
    virtual bool Open(const std::string& path, unsigned openFlags, CFileException* error = nullptr);
    virtual void Close();

    // Reads up to `count` bytes; fewer only at the end of the file.
    virtual unsigned Read(void* buffer, unsigned count);
    virtual void Write(const void* buffer, unsigned count);
    // Moves the file pointer; `from` is a SeekPosition. A position that does
    // not fit 32 bits throws EOVERFLOW and leaves the pointer where it was.
    virtual std::uint32_t Seek(std::int32_t offset, unsigned from);
    virtual std::uint32_t GetLength() const;
    virtual std::uint32_t GetPosition() const;
    // Writes the file's data through to the device.
    virtual void Flush();

    bool IsOpen() const { return m_fd >= 0; }
    const std::string& GetFilePath() const { return m_strFilePath; }
    // Stores the path as an absolute, normalised path.
    virtual void SetFilePath(const std::string& path);

protected:
    // The 64-bit primitives behind both this class and CFile64.
    std::uint64_t SeekRaw(std::int64_t offset, unsigned from);
    std::uint64_t PositionRaw() const;
    std::uint64_t LengthRaw() const;
    // Open for constructors: calls the most derived Open and throws its error.
    void OpenOrThrow(const std::string& path, unsigned openFlags);
    int Descriptor() const { return m_fd; }
    // Throws CFileException for `osError` and this file's path.
    [[noreturn]] void Fail(int osError) const;
    // Throws EBADF when no file is open.
    void RequireOpen() const;

    std::string m_strFilePath;

private:
    int m_fd = -1;
};

} // namespace engine
