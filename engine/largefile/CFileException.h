#pragma once
// The exception every failing file operation throws: the system's error code,
// a coarse cause for callers that branch on the kind of failure, and the path
// of the file concerned.

#include <stdexcept>
#include <string>

namespace engine {

class CFileException : public std::runtime_error {
public:
    enum Cause {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        badSeek,
        hardIO,
        lockViolation,
        diskFull,
    };

    // `osError` is an errno value; the cause is derived from it.
    CFileException(int osError, const std::string& fileName);

    Cause GetCause() const { return m_cause; }
    int GetOsError() const { return m_osError; }
    const std::string& GetFileName() const { return m_fileName; }

    static Cause CauseFromErrno(int osError);

private:
    Cause m_cause = none;
    int m_osError = 0;
    std::string m_fileName;
};

} // namespace engine
