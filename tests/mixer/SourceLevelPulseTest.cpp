// The level slider against the private sound server: it leaves alone a source
// it was never bound to, and a boost above 100 % stays unless the slider moved.

#include "mixer/RecordSources.h"
#include "platform/mixer/MixerTypes.h"
#include "tests/mixer/ListSelector.h"
#include "tests/mixer/RecordingSlider.h"
#include "tests/platform/mixer/PulseTestServer.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The server as with-pulse.sh starts it: one source, the monitor of its sink.
class OneSourcePulse : public ::testing::Test {
protected:
    void SetUp() override {
        if (!pulsetest::serverRunning()) {
            GTEST_SKIP() << "no private sound server: run through with-pulse.sh";
        }
        setenv("SONDREL_MIXER", "pulse", 1);
        setenv("SONDREL_AUDIO_INPUT", "alsa:pulse", 1);
    }
    void TearDown() override {
        unsetenv("SONDREL_AUDIO_INPUT");
        unsetenv("SONDREL_MIXER");
    }
    testsupport::ScriptedMessageBox m_messages;
    testsupport::ScopedMessageBoxHost m_host{m_messages};
    ListSelector m_selector;
    RecordingSlider m_slider;
    RecordSources m_sources{m_selector, m_slider};
};

TEST_F(OneSourcePulse, TheUnboundSliderLeavesTheOnlySourcesLevelAlone) {
    pulsetest::pactl("set-source-volume rec_sink.monitor 70%");
    const long before = pulsetest::sourceVolume("rec_sink.monitor");
    m_sources.EnumRecordSources();
    ASSERT_EQ(m_sources.SourceCount(), 1);
    m_sources.ApplyRecordSource();
    // The window's slider, never bound, runs 0 to 99: the user drags it to its top.
    m_slider.Drag(99);
    m_sources.OnVolumeReleased();
    EXPECT_EQ(pulsetest::sourceVolume("rec_sink.monitor"), before);
}

class BoostedSourcePulse : public pulsetest::PulseSourcesTest {
protected:
    void SetUp() override {
        PulseSourcesTest::SetUp();
        setenv("SONDREL_AUDIO_INPUT", "alsa:pulse", 1);
    }
    void TearDown() override {
        unsetenv("SONDREL_AUDIO_INPUT");
        PulseSourcesTest::TearDown();
    }
    testsupport::ScriptedMessageBox m_messages;
    testsupport::ScopedMessageBoxHost m_host{m_messages};
    ListSelector m_selector;
    RecordingSlider m_slider;
    RecordSources m_sources{m_selector, m_slider};
};

TEST_F(BoostedSourcePulse, ABoostStaysUntilTheSliderMoves) {
    pulsetest::pactl("set-source-volume sondrel_line 150%");
    const long boosted = pulsetest::sourceVolume("sondrel_line");
    ASSERT_GT(boosted, 65536);
    m_sources.EnumRecordSources();
    int line = -1;
    for (int i = 0; i < m_sources.SourceCount(); ++i) {
        if (m_sources.Source(i).componentType == MIXERLINE_COMPONENTTYPE_SRC_LINE) {
            line = i;
        }
    }
    ASSERT_GE(line, 0);
    m_selector.Select(line);
    m_sources.ApplyRecordSource();
    EXPECT_EQ(m_slider.GetPos(), m_slider.Maximum()) << "a boost shows as the top";
    // Let go at the top where it was bound.
    m_sources.OnVolumeReleased();
    EXPECT_EQ(pulsetest::sourceVolume("sondrel_line"), boosted);
    // Moved, the slider sets the level.
    m_slider.Drag(32768);
    m_sources.OnVolumeReleased();
    EXPECT_EQ(pulsetest::sourceVolume("sondrel_line"), 32769);
}

} // namespace
