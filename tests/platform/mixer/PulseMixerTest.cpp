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
    OpenedMixers m_mixers;
};

TEST_F(PulseMixer, AStoppedServerMakesCallsFailInsteadOfHanging) {
    const pid_t server = pulsetest::serverPid();
    if (server <= 0) {
        GTEST_SKIP() << "the server's process id is not known";
    }
    HMIXER mixer = m_mixers.open();
    const std::uint32_t volume = volumeId(
        mixer, static_cast<std::uint32_t>(itemOfType(mixer, MIXERLINE_COMPONENTTYPE_SRC_LINE)));
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
