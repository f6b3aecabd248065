// The waveform display behind real capture: the virtual tone input through
// the wave-in service, OpenCapture's display thread, and the widget drawn
// offscreen.

#include "components/oskary/WaveDisplay.h"
#include "engine/BufManaEx.h"
#include "engine/Capture.h"
#include "engine/RecordingState.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <set>
#include <thread>

namespace {

const QColor kBackground(0, 0, 0);
const QColor kTrace(0, 230, 0);

// A display whose reader starts only when released, as a display that has
// fallen far behind; then it is the real display.
class HeldBackDisplay final : public IWaveDisplay {
public:
    explicit HeldBackDisplay(WaveDisplay& inner) : m_inner(inner) {}
    void InitWave(void* window, std::int32_t samplesShown) override {
        m_inner.InitWave(window, samplesShown);
    }
    void ShowWave(BufManaEx* ring) override {
        while (!m_released.load() && !ring->IsStopped()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        m_inner.ShowWave(ring);
    }
    void StopShow() override { m_inner.StopShow(); }
    void Release() { m_released.store(true); }

private:
    WaveDisplay& m_inner;
    std::atomic<bool> m_released{false};
};

class WaveDisplayCapture : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SONDREL_AUDIO_INPUT", "tone", 1);
        g_notRecording.store(true);
        g_captureClosing.store(true);
        m_host.resize(166, 52);
        m_display.SetColours(kBackground, kTrace);
        m_display.InitWave(&m_host, 2048);
        m_host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_host));
    }

    void TearDown() override {
        if (g_hWaveIn != nullptr) {
            CloseCapture();
        }
        unsetenv("SONDREL_AUDIO_INPUT");
    }

    static std::uint64_t BuffersDelivered() {
        return (g_waveRing.GetWriteTotal() + g_waveRing.GetDroppedBytes()) / kCaptureBufferBytes;
    }

    // Distinct heights the trace takes in the upper half of the picture.
    int TraceHeights() {
        const QImage picture = m_host.grab().toImage();
        std::set<int> heights;
        for (int y = 0; y < picture.height() / 2; ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (picture.pixelColor(x, y) == kTrace) {
                    heights.insert(y);
                }
            }
        }
        return static_cast<int>(heights.size());
    }

    QWidget m_host;
    WaveDisplay m_display;
};

TEST_F(WaveDisplayCapture, ToneCaptureIsDrawnAndCloseEndsTheReader) {
    g_waveRing.Init(16 * kCaptureBufferBytes, 0x40000000u);
    EXPECT_EQ(TraceHeights(), 0);
    OpenCapture(true, m_display);
    ASSERT_NE(g_hWaveIn, nullptr);
    // The tone swings over much of full scale: the trace covers many heights.
    EXPECT_TRUE(QTest::qWaitFor([&] { return TraceHeights() > 8; }, 30000));
    EXPECT_EQ(CloseCapture(), MMSYSERR_NOERROR);
    // CloseCapture joined the display thread, so the reader has returned
    // after taking every block but those of its last poll pause.
    EXPECT_GE(m_display.BytesShown() + 2u * kCaptureBufferBytes,
              std::uint64_t{g_waveRing.GetWriteTotal()});
    EXPECT_EQ(g_waveRing.GetDroppedBytes(), 0u);
}

TEST_F(WaveDisplayCapture, StalledDisplayLosesBlocksButTheTakeDoesNot) {
    // Room for two capture buffers only.
    g_waveRing.Init(2 * kCaptureBufferBytes, 0x40000000u);
    HeldBackDisplay heldBack(m_display);
    OpenCapture(true, heldBack);
    ASSERT_NE(g_hWaveIn, nullptr);
    g_cdQueue.Reset();
    g_toFile.store(false);
    g_notRecording.store(false, std::memory_order_release);
    const std::uint64_t start = BuffersDelivered();
    ASSERT_TRUE(QTest::qWaitFor([&] { return BuffersDelivered() >= start + 5; }, 60000));
    g_notRecording.store(true, std::memory_order_release);
    const std::uint64_t queued = g_cdQueue.GetWaitingBytes() / kCaptureBufferBytes;
    EXPECT_GE(queued, 4u);
    EXPECT_GE(g_waveRing.GetDroppedBytes(), 2u * kCaptureBufferBytes);
    EXPECT_EQ(m_display.BytesShown(), 0u);

    heldBack.Release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return TraceHeights() > 8; }, 30000));
    EXPECT_EQ(CloseCapture(), MMSYSERR_NOERROR);
    g_cdQueue.Reset();
}

} // namespace
