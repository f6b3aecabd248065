// The level meter, the clip counter and the texts of timed takes.
#include "engine/ClipCounter.h"
#include "engine/LevelMeter.h"
#include "engine/session/TakeSchedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <vector>

namespace {

std::vector<std::uint8_t> Pcm(const std::vector<std::int16_t>& samples) {
    std::vector<std::uint8_t> bytes;
    for (const std::int16_t sample : samples) {
        const auto word = static_cast<std::uint16_t>(sample);
        bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(word >> 8));
    }
    return bytes;
}

TEST(ClipCounter, CountsFullScaleSamplesHoweverTheStreamIsCut) {
    const std::vector<std::uint8_t> pcm =
        Pcm({32767, -32768, 32766, -32767, 0, -32768, 255, -256, 32767, 127});
    for (std::size_t cut = 0; cut <= pcm.size(); ++cut) {
        ClipCounter counter;
        counter.Count({pcm.data(), cut});
        counter.Count({pcm.data() + cut, pcm.size() - cut});
        EXPECT_EQ(counter.Total(), 4u) << "cut at byte " << cut;
    }
}

TEST(LevelMeter, HoldsThePeakForOneAndAHalfSecondsOfSound) {
    LevelMeter meter;
    meter.Add(Pcm({16384, -32768}), 0);
    std::vector<std::int16_t> quiet(2 * 4410, 0); // 0.1 s
    quiet[0] = 100;
    quiet[1] = -50;
    std::uint64_t position = 4;
    for (int tenth = 1; tenth <= 15; ++tenth, position += 4 * 4410) {
        meter.Add(Pcm(quiet), position);
        const LevelReading reading = meter.Reading();
        EXPECT_EQ(reading.peak[0], 100u);
        EXPECT_EQ(reading.peak[1], 50u);
        EXPECT_EQ(reading.held[0], 16384u) << tenth << " tenths";
        EXPECT_EQ(reading.held[1], 32768u) << tenth << " tenths";
    }
    meter.Add(Pcm(quiet), position);
    EXPECT_EQ(meter.Reading().held[0], 100u) << "1.6 s after the peak";
    EXPECT_EQ(FormatDbfs(32768), "0.0");
    EXPECT_EQ(FormatDbfs(16384), "-6.0");
    EXPECT_EQ(FormatDbfs(0), "-inf");
}

TEST(LevelMeter, TriggerFindsTheFirstLoudFrameAfterItsStart) {
    LevelMeter meter;
    const std::vector<std::uint8_t> block = Pcm({0, 0, 2000, 0, 0, -1000, 0, 1200, 0, 3000});
    meter.Add(block, 0);
    EXPECT_EQ(meter.TriggerPosition(), LevelMeter::kNotFound) << "not armed";
    meter.ArmTrigger(MagnitudeOfDbfs(-30.0), 1000); // 1037
    meter.Add(block, 992);
    EXPECT_EQ(meter.TriggerPosition(), 1004u) << "2000 came before the start, -1000 is too quiet";
    meter.Add(block, 10000);
    EXPECT_EQ(meter.TriggerPosition(), 1004u) << "it keeps the first";
    meter.ArmTrigger(MagnitudeOfDbfs(-20.0), 0); // 3277
    meter.Add(block, 0);
    EXPECT_EQ(meter.TriggerPosition(), LevelMeter::kNotFound);
}

TEST(TakeSchedule, ReadsDurations) {
    const struct {
        const char* text;
        std::uint32_t seconds; // 0: refused
    } cases[] = {{"90", 90},          {"90s", 90},  {"45m", 2700},      {"1h30m", 5400},
                 {"1h30m15s", 5415},  {"2h", 7200}, {"01:30:00", 5400}, {"45:00", 2700},
                 {"24:00:00", 86400}, {"", 0},      {"0", 0},           {"1h30", 0},
                 {"30m1h", 0},        {"1m1m", 0},  {"1:60", 0},        {"1:5", 0},
                 {"24:00:01", 0},     {"25h", 0},   {"-5", 0},          {"5x", 0},
                 {"1:02:03:04", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(engine::ParseDurationSeconds(c.text).value_or(0), c.seconds) << c.text;
    }
}

TEST(TakeSchedule, ReadsTimesOfDayAndLevels) {
    std::tm noon{};
    noon.tm_year = 126;
    noon.tm_mon = 5;
    noon.tm_mday = 1;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    const auto now = engine::WallClock::from_time_t(std::mktime(&noon));
    using std::chrono::hours;
    using std::chrono::seconds;
    EXPECT_EQ(engine::NextClockTime("12:00:02", now), now + seconds(2));
    EXPECT_EQ(engine::NextClockTime("13:30", now), now + hours(1) + seconds(1800));
    EXPECT_EQ(engine::NextClockTime("12:00", now), now + hours(24)) << "the next occurrence";
    EXPECT_EQ(engine::NextClockTime("07:05", now), now + hours(19) + seconds(300));
    for (const char* bad : {"24:00", "7", "12:5", "12:00:60", "ab:cd", "12:00:00:00"}) {
        EXPECT_FALSE(engine::NextClockTime(bad, now)) << bad;
    }
    EXPECT_EQ(engine::ParseSoundDb("-12.5"), -12.5);
    for (const char* bad : {"", "3", "-91", "x", "-1dB"}) {
        EXPECT_FALSE(engine::ParseSoundDb(bad)) << bad;
    }
}

} // namespace
