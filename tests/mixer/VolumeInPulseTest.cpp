#include "mixer/CVolumeInXXX.h"
#include "platform/mixer/MixerApi.h"
#include "tests/mixer/VolumeChangeRecorder.h"
#include "tests/platform/mixer/MixerTestKit.h"
#include "tests/platform/mixer/PulseTestServer.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace mixertest;

namespace {

class VolumeInPulse : public pulsetest::PulseSourcesTest {
protected:
    void SetUp() override {
        PulseSourcesTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        HMIXER mixer = nullptr;
        ASSERT_EQ(mixerOpen(&mixer, 0, nullptr, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
        SelectControl control;
        std::vector<MIXERCONTROLDETAILS_LISTTEXT> texts;
        ASSERT_EQ(selectControl(mixer, control), MMSYSERR_NOERROR);
        ASSERT_EQ(itemTexts(mixer, control, texts), MMSYSERR_NOERROR);
        mixerClose(mixer);
        for (std::uint32_t i = 0; i < texts.size(); ++i) {
            if (texts[i].dwParam2 == MIXERLINE_COMPONENTTYPE_SRC_LINE) {
                m_line = i;
            }
            if (texts[i].dwParam2 == MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE) {
                m_microphone = i;
            }
        }
        ASSERT_NE(m_line, m_microphone);
    }
    std::uint32_t m_line = 0;
    std::uint32_t m_microphone = 0;
};

TEST_F(VolumeInPulse, ServerVolumeRoundTrip) {
    CVolumeInXXX volume(m_line);
    EXPECT_TRUE(volume.IsVolumeAvailable());
    EXPECT_EQ(volume.GetMinVolume(), 0);
    EXPECT_EQ(volume.GetMaxVolume(), 65535);
    EXPECT_EQ(volume.GetVolume(), 65535); // a new source starts at 100 %
    CVolumeInXXX(m_line).SetVolume(32768);
    EXPECT_EQ(pulsetest::sourceVolume("sondrel_line"), 32769);
    EXPECT_EQ(CVolumeInXXX(m_line).GetVolume(), 32768);
    CVolumeInXXX(m_line).SetVolume(65536);
    EXPECT_EQ(CVolumeInXXX(m_line).GetVolume(), 32768);
    EXPECT_EQ(CVolumeInXXX(m_microphone).GetVolume(), 65535);
}

TEST_F(VolumeInPulse, SelectAsRecordingSourceMovesOurCaptureOnly) {
    const pulsetest::OwnCaptureStream capture;
    ASSERT_TRUE(capture.IsOpen());
    CVolumeInXXX(m_line).SelectAsRecordingSource();
    EXPECT_EQ(pulsetest::ownCaptureSource(), "sondrel_line");
    CVolumeInXXX(m_microphone).SelectAsRecordingSource();
    EXPECT_EQ(pulsetest::ownCaptureSource(), "sondrel_mic");
    EXPECT_EQ(pulsetest::pactl("get-default-source"), "rec_sink.monitor");
}

TEST_F(VolumeInPulse, ChangeMadeWithPactlReachesTheCallback) {
    VolumeChangeRecorder recorder;
    CVolumeInXXX volume(m_microphone);
    volume.SetChangeCallback(&VolumeChangeRecorder::onChange, recorder.user());
    pulsetest::pactl("set-source-volume sondrel_mic 25%");
    EXPECT_EQ(recorder.first(), 16384);
}

} // namespace
