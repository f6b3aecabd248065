#include "engine/largefile/CFileException.h"

#include <cerrno>
#include <system_error>

namespace engine {

CFileException::CFileException(int osError, const std::string& fileName)
    : std::runtime_error(fileName + ": " + std::generic_category().message(osError)),
      m_cause(CauseFromErrno(osError)), m_osError(osError), m_fileName(fileName) {}

CFileException::Cause CFileException::CauseFromErrno(int osError) {
    switch (osError) {
    case 0:
        return none;
    case ENOENT:
        return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return badPath;
    case EMFILE:
    case ENFILE:
        return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return accessDenied;
    case EBADF:
        return invalidFile;
    case EINVAL:
    case ESPIPE:
    case EOVERFLOW:
        return badSeek;
    case EIO:
        return hardIO;
    case EAGAIN:
    case EDEADLK:
        return lockViolation;
    case ENOSPC:
    case EFBIG:
    case EDQUOT:
        return diskFull;
    default:
        return genericException;
    }
}

} // namespace engine
