#pragma once
// A process as settings and state files keep it, so that a later process can
// tell whether the one that wrote them still runs (an emulated drive's tray
// lock, a take being recorded). A process is named by its id and its start
// time, so an id used again by a later process does not count as the same.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace util {

struct ProcessIdentity {
    std::uint32_t pid = 0;        // 0: not known (a state file of an older version)
    std::uint64_t startTicks = 0; // start time after boot, in clock ticks (/proc/PID/stat)

    // This process.
    [[nodiscard]] static ProcessIdentity Current();
    // True when the process is known and no longer runs.
    [[nodiscard]] bool IsGone() const;

    // "PID TICKS", as kept in files.
    [[nodiscard]] std::string Format() const;
    [[nodiscard]] static std::optional<ProcessIdentity> Parse(std::string_view text);
};

} // namespace util
