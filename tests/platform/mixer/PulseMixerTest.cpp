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

TEST_F(PulseMixer, ChoosingALineMovesOurCaptureToItsSourceAndLeavesTheDefault) {
    const pulsetest::OwnCaptureStream capture;
    ASSERT_TRUE(capture.IsOpen());
    HMIXER mixer = open();
    const int microphone = itemOfType(mixer, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    const int line = itemOfType(mixer, MIXERLINE_COMPONENTTYPE_SRC_LINE);
    ASSERT_EQ(chooseItem(mixer, static_cast<std::uint32_t>(line)), MMSYSERR_NOERROR);
    EXPECT_EQ(pulsetest::ownCaptureSource(), "sondrel_line");
    EXPECT_EQ(chosenItem(mixer), line);
    ASSERT_EQ(chooseItem(mixer, static_cast<std::uint32_t>(microphone)), MMSYSERR_NOERROR);
    EXPECT_EQ(pulsetest::ownCaptureSource(), "sondrel_mic");
    EXPECT_EQ(chosenItem(mixer), microphone);
    EXPECT_EQ(pulsetest::pactl("get-default-source"), "rec_sink.monitor");
    mixerClose(mixer);
}

TEST_F(PulseMixer, VolumeWritesReachTheServer) {
    HMIXER mixer = open();
    const std::uint32_t volume =
        volumeId(mixer, itemOfType(mixer, MIXERLINE_COMPONENTTYPE_SRC_LINE));
    ASSERT_EQ(writeVolume(mixer, volume, {32768, 65535}), MMSYSERR_NOERROR);
    EXPECT_EQ(pulsetest::sourceVolume("sondrel_line"), 32769); // 50 % on the server's scale
    EXPECT_NE(pulsetest::pactl("get-source-volume sondrel_line").find("65536 / 100%"),
              std::string::npos);
    std::vector<std::uint32_t> values;
    ASSERT_EQ(readVolume(mixer, volume, 2, values), MMSYSERR_NOERROR);
    EXPECT_EQ(values, (std::vector<std::uint32_t>{32768, 65535}));
    ASSERT_EQ(writeVolume(mixer, volume, {0}), MMSYSERR_NOERROR);
    EXPECT_EQ(pulsetest::sourceVolume("sondrel_line"), 0);
    EXPECT_EQ(writeVolume(mixer, volume, {65536}), MIXERR_INVALVALUE);
    mixerClose(mixer);
}

TEST_F(PulseMixer, ChangesMadeByOtherProgramsAreNotified) {
    NotificationLog& log = m_log;
    HMIXER mixer = open(&log);
    const int microphone = itemOfType(mixer, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    const std::uint32_t volume = volumeId(mixer, microphone);
    pulsetest::pactl("set-source-volume sondrel_mic 25%");
    ASSERT_TRUE(log.waitFor(MM_MIXM_CONTROL_CHANGE, volume));
    std::vector<std::uint32_t> values;
    ASSERT_EQ(readVolume(mixer, volume, 1, values), MMSYSERR_NOERROR);
    EXPECT_EQ(values[0], 16384u);

    SelectControl control;
    ASSERT_EQ(selectControl(mixer, control), MMSYSERR_NOERROR);
    const std::string target =
        pulsetest::pactl("get-default-source") == "sondrel_line" ? "sondrel_mic" : "sondrel_line";
    pulsetest::pactl("set-default-source " + target);
    EXPECT_TRUE(log.waitFor(MM_MIXM_CONTROL_CHANGE, control.id));

    addModule("sondrel_extra");
    MIXERLINE recording;
    ASSERT_EQ(destination(mixer, recording), MMSYSERR_NOERROR);
    EXPECT_TRUE(log.waitFor(MM_MIXM_LINE_CHANGE, recording.dwLineID));
    mixerClose(mixer);
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
