#include "engine/session/TakeSchedule.h"

#include "engine/session/SoundWatch.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <vector>

namespace engine {

namespace {

constexpr std::uint32_t kLongestTakeSeconds = 24 * 3600;
constexpr std::uint64_t kPcmFramesPerSecond = 44100;
constexpr std::uint64_t kFrameBytes = 4;

// The whole numbers of "A:B" or "A:B:C"; empty unless each part is one or two
// digits (the first may be longer) and there are `low` to `high` parts.
std::vector<std::uint32_t> ColonParts(std::string_view text, std::size_t low, std::size_t high) {
    std::vector<std::uint32_t> parts;
    while (true) {
        const std::size_t colon = text.find(':');
        const std::string_view part = text.substr(0, colon);
        std::uint32_t value = 0;
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        const bool digitsOnly = error == std::errc() && end == part.data() + part.size();
        if (part.empty() || !digitsOnly || (!parts.empty() && part.size() != 2)) {
            return {};
        }
        parts.push_back(value);
        if (colon == std::string_view::npos) {
            break;
        }
        text.remove_prefix(colon + 1);
    }
    return parts.size() >= low && parts.size() <= high ? parts : std::vector<std::uint32_t>{};
}

// "1h30m15s" or some of its parts in that order, or a bare number of seconds.
std::optional<std::uint64_t> UnitSeconds(std::string_view text) {
    constexpr std::string_view kUnits = "hms";
    constexpr std::uint64_t kScale[] = {3600, 60, 1};
    std::uint64_t total = 0;
    std::size_t next = 0; // units before this one are used up
    while (!text.empty()) {
        std::uint32_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc()) {
            return std::nullopt;
        }
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
        if (text.empty()) {
            // A bare number is seconds only on its own: "1h30" says nothing.
            return next == 0 ? std::optional<std::uint64_t>(value) : std::nullopt;
        }
        const std::size_t unit = kUnits.find(text.front());
        if (unit == std::string_view::npos || unit < next) {
            return std::nullopt;
        }
        total += value * kScale[unit];
        next = unit + 1;
        text.remove_prefix(1);
    }
    return total;
}

} // namespace

std::optional<std::uint32_t> ParseDurationSeconds(std::string_view text) {
    std::optional<std::uint64_t> seconds;
    if (text.find(':') != std::string_view::npos) {
        const std::vector<std::uint32_t> parts = ColonParts(text, 2, 3);
        if (!parts.empty() && parts.back() < 60 && (parts.size() == 2 || parts[1] < 60)) {
            seconds = parts.size() == 3 ? parts[0] * 3600ULL + parts[1] * 60ULL + parts[2]
                                        : parts[0] * 60ULL + parts[1];
        }
    } else if (!text.empty()) {
        seconds = UnitSeconds(text);
    }
    if (!seconds || *seconds == 0 || *seconds > kLongestTakeSeconds) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*seconds);
}

std::optional<WallClock::time_point> NextClockTime(std::string_view text,
                                                   WallClock::time_point now) {
    const std::vector<std::uint32_t> parts = ColonParts(text, 2, 3);
    if (parts.empty() || parts[0] > 23 || parts[1] > 59 || (parts.size() == 3 && parts[2] > 59)) {
        return std::nullopt;
    }
    const std::time_t nowSeconds = WallClock::to_time_t(now);
    for (int day = 0; day <= 1; ++day) {
        std::tm local{};
        localtime_r(&nowSeconds, &local);
        local.tm_mday += day;
        local.tm_hour = static_cast<int>(parts[0]);
        local.tm_min = static_cast<int>(parts[1]);
        local.tm_sec = parts.size() == 3 ? static_cast<int>(parts[2]) : 0;
        local.tm_isdst = -1; // whatever the clock shows that day
        const WallClock::time_point due = WallClock::from_time_t(std::mktime(&local));
        if (due > now) {
            return due;
        }
    }
    return std::nullopt;
}

std::optional<double> ParseSoundDb(std::string_view text) {
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < -90.0 ||
        value > 0.0) {
        return std::nullopt;
    }
    return value;
}

TakeStarter::TakeStarter(const TakeSchedule& schedule, LevelMeter& meter)
    : m_schedule(schedule), m_meter(meter) {}

TakeStarter::~TakeStarter() {
    if (m_armed) {
        m_meter.DisarmTrigger();
    }
}

std::optional<std::uint64_t> TakeStarter::Poll(WallClock::time_point now) {
    if (m_done || (m_schedule.startAt && now < *m_schedule.startAt)) {
        return std::nullopt;
    }
    const CaptureMark mark = MarkCapture();
    std::uint64_t position = mark.written + mark.dropped;
    if (m_schedule.startAt) {
        // Capture runs in real time: a look that came late (a busy machine)
        // goes back by as much sound as came since the set time.
        const auto late =
            std::chrono::duration_cast<std::chrono::microseconds>(now - *m_schedule.startAt);
        const std::uint64_t lateBytes =
            static_cast<std::uint64_t>(late.count()) * kPcmFramesPerSecond / 1000000 * kFrameBytes;
        position -= std::min(position, lateBytes);
    }
    if (!m_schedule.startOnSoundDb) {
        m_done = true;
        return position;
    }
    if (!m_armed) {
        m_meter.ArmTrigger(MagnitudeOfDbfs(*m_schedule.startOnSoundDb), position);
        m_armed = true;
        return std::nullopt;
    }
    const std::uint64_t loud = m_meter.TriggerPosition();
    if (loud == LevelMeter::kNotFound) {
        return std::nullopt;
    }
    m_meter.DisarmTrigger();
    m_armed = false;
    m_done = true;
    return loud - std::min(loud, kLeadBytes);
}

} // namespace engine
