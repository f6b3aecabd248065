#pragma once
// The process that locked an emulated drive's tray. The kernel unlocks a real
// drive when the last process that had it open is gone; the emulated drive
// keeps its lock in a file, so it keeps who locked it too and ignores a lock
// whose process has ended (killed, crashed). A process is named by its id and
// its start time, so an id used again by a later process does not count.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quarnel::emu {

struct LockOwner {
    std::uint32_t pid = 0;         // 0: not known (a state file of an older version)
    std::uint64_t startTicks = 0;  // start time after boot, in clock ticks (/proc/PID/stat)

    // This process.
    [[nodiscard]] static LockOwner Current();
    // True when the process is known and no longer runs.
    [[nodiscard]] bool IsGone() const;

    // "PID TICKS", as kept in the disc state file.
    [[nodiscard]] std::string Format() const;
    [[nodiscard]] static std::optional<LockOwner> Parse(std::string_view text);
};

} // namespace quarnel::emu
