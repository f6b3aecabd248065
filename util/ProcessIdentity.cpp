#include "util/ProcessIdentity.h"

#include <unistd.h>

#include <charconv>
#include <fstream>
#include <sstream>

namespace util {

namespace {

// The start time of a running process (field 22 of /proc/PID/stat, counted
// after the closing parenthesis of its name, which may hold blanks); empty
// when no such process runs.
std::optional<std::uint64_t> StartTicksOf(std::uint32_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) {
        return std::nullopt;
    }
    const std::size_t nameEnd = line.rfind(')');
    if (nameEnd == std::string::npos) {
        return std::nullopt;
    }
    std::istringstream fields(line.substr(nameEnd + 1));
    constexpr int kFieldsBeforeStart = 19; // state (3) .. itrealvalue (21)
    std::string skipped;
    for (int field = 0; field < kFieldsBeforeStart; ++field) {
        fields >> skipped;
    }
    std::uint64_t ticks = 0;
    if (!(fields >> ticks)) {
        return std::nullopt;
    }
    return ticks;
}

} // namespace

ProcessIdentity ProcessIdentity::Current() {
    ProcessIdentity owner;
    owner.pid = static_cast<std::uint32_t>(::getpid());
    owner.startTicks = StartTicksOf(owner.pid).value_or(0);
    return owner;
}

bool ProcessIdentity::IsGone() const {
    if (pid == 0) {
        return false;
    }
    const std::optional<std::uint64_t> running = StartTicksOf(pid);
    return !running || *running != startTicks;
}

std::string ProcessIdentity::Format() const {
    return std::to_string(pid) + ' ' + std::to_string(startTicks);
}

std::optional<ProcessIdentity> ProcessIdentity::Parse(std::string_view text) {
    ProcessIdentity owner;
    const char* const end = text.data() + text.size();
    auto [next, error] = std::from_chars(text.data(), end, owner.pid);
    if (error != std::errc{} || next == end || *next != ' ') {
        return std::nullopt;
    }
    const auto [last, error2] = std::from_chars(next + 1, end, owner.startTicks);
    if (error2 != std::errc{} || last != end) {
        return std::nullopt;
    }
    return owner;
}

} // namespace util
