#include "engine/largefile/CFile64.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

namespace engine {

namespace {

constexpr std::uint64_t kMaxOffset = std::numeric_limits<off_t>::max();

} // namespace

CFile64::CFile64(const std::string& path, unsigned openFlags) {
    OpenOrThrow(path, openFlags);
}

std::uint64_t CFile64::Seek64(std::int64_t offset, unsigned from) {
    return SeekRaw(offset, from);
}

void CFile64::SetLength64(std::uint64_t length) {
    if (length > kMaxOffset) {
        Fail(EINVAL);
    }
    Seek64(static_cast<std::int64_t>(length), begin);
    int result = 0;
    do {
        result = ::ftruncate(Descriptor(), static_cast<off_t>(length));
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        Fail(errno);
    }
}

void CFile64::LockRange64(std::uint64_t position, std::uint64_t count) {
    RequireOpen();
    const int access = ::fcntl(Descriptor(), F_GETFL) & O_ACCMODE;
    SetRangeLock(access == O_RDONLY ? F_RDLCK : F_WRLCK, position, count);
}

void CFile64::UnlockRange64(std::uint64_t position, std::uint64_t count) {
    SetRangeLock(F_UNLCK, position, count);
}

void CFile64::SetFilePath(const std::string& path) {
    m_strFilePath = path;
}

void CFile64::SetRangeLock(short lockType, std::uint64_t position, std::uint64_t count) {
    RequireOpen();
    // A length of 0 would mean "to the end of the file and beyond" to fcntl.
    if (count == 0 || position > kMaxOffset || count > kMaxOffset - position) {
        Fail(EINVAL);
    }
    struct flock range {};
    range.l_type = lockType;
    range.l_whence = SEEK_SET;
    range.l_start = static_cast<off_t>(position);
    range.l_len = static_cast<off_t>(count);
    range.l_pid = 0; // required for open-file-description locks
    if (::fcntl(Descriptor(), F_OFD_SETLK, &range) != 0) {
        // A conflicting lock is reported as EAGAIN or EACCES depending on the
        // file system; both mean the range is held elsewhere.
        Fail(errno == EACCES ? EAGAIN : errno);
    }
}

} // namespace engine
