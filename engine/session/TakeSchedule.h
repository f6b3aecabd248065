#pragma once
// A take that starts by itself and one that stops by itself: at a time of
// day, when the sound passes a level, after a length of sound. The texts are
// those of the command line's options and of the window's settings dialog.
//
// TakeStarter is polled by the user-interface thread (the command's loop,
// the window's timer) and says, once the take is due, the capture stream
// position it begins at: the moment the time came (the buffer being captured
// then is the take's first; a look that came late goes back by the sound
// captured since), or a tenth of a second before the first frame
// whose level passed the threshold, which the meter found on the display
// thread. The session then starts the take from that position, which the
// pre-record ring still holds, so the first note is kept.

#include "engine/LevelMeter.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

namespace engine {

using WallClock = std::chrono::system_clock;

struct TakeSchedule {
    // The take starts then (and, with a level as well, on the first sound
    // after it).
    std::optional<WallClock::time_point> startAt;
    // The take starts when a sample passes this many dBFS.
    std::optional<double> startOnSoundDb;
    // Seconds of sound the take holds; 0: until stopped.
    std::uint32_t forSeconds = 0;

    [[nodiscard]] bool Waits() const { return startAt.has_value() || startOnSoundDb.has_value(); }
};

// "90", "90s", "45m", "1h30m", "1h30m15s", "01:30:00", "45:00" (minutes and
// seconds): seconds from 1 to 24 hours; nullopt for anything else.
[[nodiscard]] std::optional<std::uint32_t> ParseDurationSeconds(std::string_view text);
// "HH:MM" or "HH:MM:SS" on the 24-hour clock: the next moment after `now`
// that the local clock shows it (today or tomorrow); nullopt for anything else.
[[nodiscard]] std::optional<WallClock::time_point> NextClockTime(std::string_view text,
                                                                 WallClock::time_point now);
// A level from -90 to 0 dBFS ("-30", "-12.5"); nullopt for anything else.
[[nodiscard]] std::optional<double> ParseSoundDb(std::string_view text);

class TakeStarter {
public:
    // A tenth of a second of sound, kept before the first loud frame.
    static constexpr std::uint64_t kLeadBytes = 4410 * 4;

    TakeStarter(const TakeSchedule& schedule, LevelMeter& meter);
    ~TakeStarter();
    TakeStarter(const TakeStarter&) = delete;
    TakeStarter& operator=(const TakeStarter&) = delete;

    // The capture byte the take begins at once it is due; nullopt while it
    // waits. After it was due once, it is due no more.
    [[nodiscard]] std::optional<std::uint64_t> Poll(WallClock::time_point now);

private:
    TakeSchedule m_schedule;
    LevelMeter& m_meter;
    bool m_armed = false;
    bool m_done = false;
};

} // namespace engine
