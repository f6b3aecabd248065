// The volume object and the recording sources against the private PulseAudio server of
// with-pulse.sh: changes made with pactl, and choosing a source, which moves our own capture
// to it, sets and reads its volume and leaves the server's default source alone.
#include "mixer/CVolumeInXXX.h"
#include "mixer/RecordSources.h"
#include "platform/mixer/MixerApi.h"
#include "platform/mixer/MixerTypes.h"
#include "tests/mixer/ListSelector.h"
#include "tests/mixer/RecordingSlider.h"
#include "tests/mixer/VolumeChangeRecorder.h"
#include "tests/platform/mixer/MixerTestKit.h"
#include "tests/platform/mixer/PulseTestServer.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <set>
#include <string>

using namespace mixertest;

namespace {

class VolumeInPulse : public pulsetest::PulseSourcesTest {
protected:
    void SetUp() override {
        PulseSourcesTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        OpenedMixers mixers;
        const HMIXER mixer = mixers.open();
        m_microphone = itemOfType(mixer, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
        ASSERT_GE(m_microphone, 0);
    }
    int m_microphone = -1;
};

TEST_F(VolumeInPulse, ChangeMadeWithPactlReachesTheCallback) {
    VolumeChangeRecorder recorder;
    CVolumeInXXX volume(static_cast<std::uint32_t>(m_microphone));
    volume.SetChangeCallback(&VolumeChangeRecorder::onChange, recorder.user());
    pulsetest::pactl("set-source-volume sondrel_mic 25%");
    EXPECT_EQ(recorder.first(), 16384);
}

class RecordSourcesPulse : public pulsetest::PulseSourcesTest {
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

TEST_F(RecordSourcesPulse, ChoosingASourceMovesOurCaptureToItAndBindsItsVolume) {
    const pulsetest::OwnCaptureStream capture;
    ASSERT_TRUE(capture.IsOpen());
    m_sources.EnumRecordSources();
    ASSERT_GE(m_sources.SourceCount(), 2) << "the server's null sources are listed";
    EXPECT_EQ(m_messages.ShownCount(), 0u);
    EXPECT_EQ(m_sources.Source(m_selector.CurrentIndex()).componentType,
              MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    std::set<std::string> chosen;
    int line = -1;
    for (int target = 0; target < m_sources.SourceCount(); ++target) {
        m_selector.Select(target);
        m_sources.ApplyRecordSource();
        const std::string defaultSource = pulsetest::ownCaptureSource();
        chosen.insert(defaultSource);
        const std::uint32_t type = m_sources.Source(target).componentType;
        if (type == MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE) {
            EXPECT_EQ(defaultSource, "sondrel_mic");
        }
        if (type == MIXERLINE_COMPONENTTYPE_SRC_LINE) {
            EXPECT_EQ(defaultSource, "sondrel_line");
            line = target;
        }
    }
    EXPECT_EQ(chosen.size(), static_cast<std::size_t>(m_sources.SourceCount()))
        << "every entry selects a source of its own";
    ASSERT_GE(line, 0);
    m_selector.Select(line);
    m_sources.ApplyRecordSource();
    EXPECT_EQ(m_slider.Minimum(), 0);
    EXPECT_EQ(m_slider.Maximum(), 65535);
    EXPECT_EQ(pulsetest::pactl("get-default-source"), "rec_sink.monitor") << "left alone";
    const std::string name = pulsetest::ownCaptureSource();

    m_slider.Drag(32768);
    m_sources.OnVolumeReleased();
    EXPECT_EQ(pulsetest::sourceVolume(name), 32769);

    pulsetest::pactl("set-source-volume " + name + " 25%");
    m_sources.BindVolumeSlider();
    EXPECT_EQ(m_slider.GetPos(), 16384);
}

TEST_F(RecordSourcesPulse, ABoostStaysUntilTheSliderMoves) {
    m_sources.EnumRecordSources();
    int line = -1;
    for (int i = 0; i < m_sources.SourceCount(); ++i) {
        if (m_sources.Source(i).componentType == MIXERLINE_COMPONENTTYPE_SRC_LINE) {
            line = i;
        }
    }
    ASSERT_GE(line, 0);
    pulsetest::pactl("set-source-volume sondrel_line 150%");
    const long boosted = pulsetest::sourceVolume("sondrel_line");
    ASSERT_GT(boosted, 65536);
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
