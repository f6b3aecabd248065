#include "platform/mixer/MixerApi.h"
#include "tests/platform/mixer/MixerTestKit.h"
#include "tests/platform/mixer/PulseTestServer.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

using namespace mixertest;

namespace {

// Runs against the private server of with-pulse.sh, which holds the null sink "rec_sink"
// (so its monitor is a source); each test adds a microphone and a line-in source.
class PulseMixer : public pulsetest::PulseSourcesTest {
protected:
    HMIXER open(NotificationLog* log = nullptr) { return m_mixers.open(log); }
    // The only item of that component type, or -1. The null sources are all described as
    // "Null Input"; their names (sondrel_mic, sondrel_line) decide their types.
    int itemOfType(HMIXER mixer, std::uint32_t componentType) {
        SelectControl control;
        std::vector<MIXERCONTROLDETAILS_LISTTEXT> texts;
        if (selectControl(mixer, control) != 0 || itemTexts(mixer, control, texts) != 0) {
            return -1;
        }
        int found = -1;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (texts[i].dwParam2 == componentType) {
                EXPECT_EQ(found, -1) << "two items of type " << componentType;
                found = static_cast<int>(i);
            }
        }
        return found;
    }
    std::uint32_t volumeId(HMIXER mixer, int source) {
        return mixertest::volumeId(mixer, static_cast<std::uint32_t>(source));
    }

    NotificationLog m_log;
    OpenedMixers m_mixers; // closed before the log goes
};

TEST_F(PulseMixer, ServerSourcesAreTheSourceLines) {
    EXPECT_EQ(mixerGetNumDevs(), 1u);
    MIXERCAPS caps;
    ASSERT_EQ(mixerGetDevCaps(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_STREQ(caps.szPname, "Sound Server");

    HMIXER mixer = open();
    MIXERLINE recording;
    ASSERT_EQ(destination(mixer, recording), MMSYSERR_NOERROR);
    EXPECT_EQ(recording.cConnections, 3u); // the sink's monitor and the two null sources

    const int monitor = itemOfType(mixer, MIXERLINE_COMPONENTTYPE_SRC_ANALOG);
    const int microphone = itemOfType(mixer, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    const int line = itemOfType(mixer, MIXERLINE_COMPONENTTYPE_SRC_LINE);
    ASSERT_GE(monitor, 0);
    ASSERT_GE(microphone, 0);
    ASSERT_GE(line, 0);
    MIXERLINE source;
    ASSERT_EQ(sourceLine(mixer, static_cast<std::uint32_t>(monitor), source), MMSYSERR_NOERROR);
    EXPECT_STREQ(source.szShortName, "Playback");
    EXPECT_STREQ(source.szName, "Monitor of Null Output");
    EXPECT_EQ(source.cChannels, 2u);
    ASSERT_EQ(sourceLine(mixer, static_cast<std::uint32_t>(microphone), source), MMSYSERR_NOERROR);
    EXPECT_STREQ(source.szShortName, "Null Input");
    EXPECT_EQ(source.cChannels, 2u);
    EXPECT_EQ(line, 3 - monitor - microphone);
    EXPECT_EQ(mixerClose(mixer), MMSYSERR_NOERROR);
}

TEST_F(PulseMixer, AStoppedServerMakesCallsFailInsteadOfHanging) {
    const pid_t server = pulsetest::serverPid();
    if (server <= 0) {
        GTEST_SKIP() << "the server's process id is not known";
    }
    HMIXER mixer = open();
    const std::uint32_t volume =
        volumeId(mixer, itemOfType(mixer, MIXERLINE_COMPONENTTYPE_SRC_LINE));
    std::vector<std::uint32_t> values;
    ASSERT_EQ(kill(server, SIGSTOP), 0);
    const MMRESULT whileStopped = readVolume(mixer, volume, 2, values);
    HMIXER second = nullptr;
    const MMRESULT openWhileStopped = mixerOpen(&second, 0, nullptr, 0, CALLBACK_NULL);
    ASSERT_EQ(kill(server, SIGCONT), 0);
    EXPECT_EQ(whileStopped, MMSYSERR_ERROR);
    EXPECT_EQ(openWhileStopped, MMSYSERR_NODRIVER);
    // Once the server runs again the same handle works.
    EXPECT_EQ(readVolume(mixer, volume, 2, values), MMSYSERR_NOERROR);
    mixerClose(mixer);
}

} // namespace
