#pragma once
// A wave output for playback tests: keeps what it is given, at once but only
// as many bytes as the test has let through (unlimited unless told).

#include "platform/wave/PlaybackSink.h"

#include <condition_variable>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>
#include <string>

namespace disc::test {

// What the sink received; shared with the test, which outlives the sink.
struct SinkRecord {
    std::mutex mutex;
    std::condition_variable changed;
    std::string bytes;
    std::size_t allowance = std::numeric_limits<std::size_t>::max();
    bool paused = false;

    void Allow(std::size_t more);
    [[nodiscard]] std::string Bytes();
};

class GatedSink final : public platform::wave::PlaybackSink {
public:
    explicit GatedSink(std::shared_ptr<SinkRecord> record) : m_record(std::move(record)) {}

    platform::wave::PlaybackWrite Write(std::span<const char> bytes) override;
    [[nodiscard]] std::uint64_t FramesPlayed() override;
    void WaitWhilePlaying() override {}
    void Pause() override;
    void Resume() override;
    void Discard() override {}
    [[nodiscard]] std::string Name() const override { return "gated"; }

private:
    std::shared_ptr<SinkRecord> m_record;
};

} // namespace disc::test
