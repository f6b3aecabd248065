#pragma once
// CFile with positions, lengths and byte ranges of 64 bits, for files larger
// than 4 GiB.
//
// Byte-range locks are open-file-description locks: they belong to this
// object's open file, so two CFile64 objects on one file conflict even inside
// one process, and closing the file releases them. A file opened for writing
// takes exclusive locks; one opened only for reading takes shared locks (a
// read-only descriptor cannot hold an exclusive one), which conflict with the
// exclusive locks of writers but not with each other. The locks are advisory:
// they stop other lockers, not plain reads and writes.

#include "engine/largefile/CFile.h"

#include <cstdint>
#include <string>

namespace engine {

class CFile64 : public CFile {
public:
    CFile64() = default;
    // Opens the file and throws CFileException when that fails.
    CFile64(const std::string& path, unsigned openFlags);

    // Moves the file pointer; `from` is a SeekPosition. Returns the new position.
    virtual std::uint64_t Seek64(std::int64_t offset, unsigned from);
    // Seek64(length, begin), then sets the end of the file there.
    virtual void SetLength64(std::uint64_t length);
    // Locks or unlocks `count` bytes from `position`. A range that is held by
    // another open file throws with the cause lockViolation. An empty range,
    // or one that ends beyond the largest file offset, throws EINVAL.
    virtual void LockRange64(std::uint64_t position, std::uint64_t count);
    virtual void UnlockRange64(std::uint64_t position, std::uint64_t count);

    std::uint64_t GetPosition64() const { return PositionRaw(); }
    std::uint64_t GetLength64() const { return LengthRaw(); }

    // Stores the path exactly as given.
    void SetFilePath(const std::string& path) override;

private:
    void SetRangeLock(short lockType, std::uint64_t position, std::uint64_t count);
};

} // namespace engine
