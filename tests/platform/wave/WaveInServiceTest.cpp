// The wave-input service thread against sources that misbehave on cue:
// over-runs, a device that disappears, and a program that queues no buffer.

#include "platform/wave/WaveIn.h"
#include "tests/platform/wave/WaveTestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <thread>

using namespace platform::wave;
using namespace wavetest;

namespace {

// Plays a script of reads; each read gives the counting signal, going on from
// where the last one ended. After the script: nothing, or the device gone.
class ScriptedSource : public CaptureSource {
public:
    struct Step {
        CaptureStatus status = CaptureStatus::Ok;
        std::uint32_t frames = 0;
    };

    ScriptedSource(std::deque<Step> script, bool goneAtEnd, bool endless)
        : m_script(std::move(script)), m_goneAtEnd(goneAtEnd), m_endless(endless) {}

    void Start() override {}
    void Stop() override {}
    CaptureRead Read(std::span<char> out) override {
        // Fast but not spinning: a sound card would hand out a period at a time.
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        Step step;
        if (!m_script.empty()) {
            step = m_script.front();
            m_script.pop_front();
        } else if (m_endless) {
            step.frames = 1176;
        } else if (m_goneAtEnd) {
            step.status = CaptureStatus::Gone;
        }
        const std::vector<char> frames = rampFrames(m_next, step.frames);
        std::copy(frames.begin(), frames.end(), out.begin());
        m_next += step.frames;
        return {step.status, frames.size()};
    }
    [[nodiscard]] std::string Name() const override { return "scripted"; }

private:
    std::deque<Step> m_script;
    bool m_goneAtEnd = false;
    bool m_endless = false;
    std::uint32_t m_next = 0;
};

bool waitUntil(const std::function<bool()>& condition) {
    const auto limit = std::chrono::steady_clock::now() + kHangLimit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

TEST(WaveInService, OverrunsAreCountedAndTheAudioAroundThemArrives) {
    using S = ScriptedSource::Step;
    std::deque<S> script = {S{CaptureStatus::Ok, 500}, S{CaptureStatus::Overrun, 0},
                            S{CaptureStatus::Ok, 500}, S{CaptureStatus::Overrun, 88},
                            S{CaptureStatus::Ok, 2000 - 1088}};
    CaptureClient client(8000); // 2,000 frames
    ASSERT_EQ(client.openSource(std::make_unique<ScriptedSource>(script, false, false)),
              MMSYSERR_NOERROR);
    ASSERT_EQ(client.queueAndStart(), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForBuffers(1));
    EXPECT_EQ(client.stats().overruns, 2u);
    EXPECT_EQ(client.stats().bytesRead, 8000u);
    const auto run = longestRampRun(client.captured());
    EXPECT_EQ(run.frames, 2000u);
    client.resetAndClose();
}

TEST(WaveInService, ADeviceThatDisappearsEndsTheCaptureCleanly) {
    using S = ScriptedSource::Step;
    CaptureClient client(8000);
    ASSERT_EQ(client.openSource(std::make_unique<ScriptedSource>(
                  std::deque<S>{S{CaptureStatus::Ok, 700}}, true, false)),
              MMSYSERR_NOERROR);
    ASSERT_EQ(client.queueAndStart(), MMSYSERR_NOERROR);
    ASSERT_TRUE(waitUntil([&] { return client.stats().deviceLost; }));

    // The buffer stays with the device until reset hands it back, partly filled.
    EXPECT_TRUE(client.bufferSizes().empty());
    EXPECT_EQ(waveInStart(client.handle()), MMSYSERR_NODRIVER);
    client.stopRequeue();
    ASSERT_EQ(waveInReset(client.handle()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.bufferSizes().size(), 1u);
    EXPECT_EQ(client.bufferSizes()[0], 2800u);
    EXPECT_EQ(waveInClose(client.handle()), MMSYSERR_NOERROR);
}

TEST(WaveInService, WithNoBufferQueuedTheRingKeepsTheOldestAudioAndCountsOneOverflow) {
    CaptureClient client(4704);
    client.holdBuffers();
    ASSERT_EQ(client.openSource(std::make_unique<ScriptedSource>(std::deque<ScriptedSource::Step>{},
                                                                 false, true)),
              MMSYSERR_NOERROR);
    // Started with no buffer queued at all.
    ASSERT_EQ(waveInStart(client.handle()), MMSYSERR_NOERROR);
    ASSERT_TRUE(waitUntil([&] { return client.stats().overruns > 0; }));
    // Well past the ring's size: still one overflow, not one per read.
    const std::uint64_t seen = client.stats().bytesRead;
    ASSERT_TRUE(waitUntil([&] { return client.stats().bytesRead > seen + 3 * 37632; }));
    EXPECT_EQ(client.stats().overruns, 1u);

    ASSERT_EQ(client.requeue(), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForBuffers(1));
    const std::vector<char> pcm = client.captured();
    EXPECT_EQ(rampValueAt(pcm, 0), 0); // the first frame ever read
    EXPECT_EQ(longestRampRun(pcm).frames, 1176u);
    client.resetAndClose();
}

TEST(WaveInService, StatsOfAClosedHandleAreRefused) {
    WaveInStats stats;
    EXPECT_EQ(waveInGetStats(nullptr, &stats), MMSYSERR_INVALHANDLE);
    CaptureClient client;
    ASSERT_EQ(client.openSource(std::make_unique<ScriptedSource>(std::deque<ScriptedSource::Step>{},
                                                                 false, false)),
              MMSYSERR_NOERROR);
    EXPECT_EQ(waveInGetStats(client.handle(), nullptr), MMSYSERR_INVALPARAM);
    client.resetAndClose();
    EXPECT_EQ(waveInGetStats(client.handle(), &stats), MMSYSERR_INVALHANDLE);
}

} // namespace
