#include "tools/cli/ScheduledStart.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>

namespace cli {

std::optional<std::uint64_t> WaitForScheduledStart(const engine::TakeSchedule& schedule,
                                                   LevelMeter& meter, const StopSignals& signals,
                                                   LiveStatus& status) {
    constexpr auto kLook = std::chrono::milliseconds(20);
    if (schedule.startAt) {
        const std::time_t due = engine::WallClock::to_time_t(*schedule.startAt);
        std::tm local{};
        localtime_r(&due, &local);
        char text[32]{};
        std::strftime(text, sizeof text, "%H:%M:%S", &local);
        status.Note(std::string("waiting until ") + text);
    }
    if (schedule.startOnSoundDb) {
        char level[64]{};
        std::snprintf(level, sizeof level, "waiting for sound above %.1f dBFS",
                      *schedule.startOnSoundDb);
        status.Note(level);
    }
    engine::TakeStarter starter(schedule, meter);
    while (!signals.Requested()) {
        const auto now = engine::WallClock::now();
        if (const std::optional<std::uint64_t> start = starter.Poll(now)) {
            return start;
        }
        auto pause = std::chrono::duration_cast<engine::WallClock::duration>(kLook);
        if (schedule.startAt && *schedule.startAt > now) {
            pause = std::min(pause, *schedule.startAt - now);
        }
        std::this_thread::sleep_for(pause);
    }
    return std::nullopt;
}

} // namespace cli
