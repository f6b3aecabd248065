// The sound server killed and started again during a run, as the main window
// lives through it: the watch hears the server go, is opened again once it is
// back, and the list is read each time. Afterwards the list, the source chosen
// before, our capture's source (the capture opens its stream again by itself)
// and the level are right. A program of its own: the server it leaves behind
// is its own child.

#include "platform/wave/PcmFormat.h"
#include "tests/mixer/WatchedPulseSources.h"
#include "tests/platform/wave/WaveTestSupport.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using pulsetest::AddInput;
using pulsetest::WaitFor;

bool ServerAnswers() {
    return std::system("pactl info >/dev/null 2>&1") == 0;
}

// The inputs as the server's own configuration would load them at each start;
// the line input's module number.
std::string AddInputs() {
    AddInput("sondrel_usb", "USB-Mic");
    const std::string line = AddInput("sondrel_line", "Line-Input");
    pulsetest::pactl("set-source-volume sondrel_line 30%");
    return line;
}

class SourceRestartPulse : public WatchedPulseSources {
protected:
    void TearDown() override {
        if (m_restarted > 0) {
            kill(m_restarted, SIGTERM);
            waitpid(m_restarted, nullptr, 0);
        }
        WatchedPulseSources::TearDown();
    }
    // The same server as with-pulse.sh starts, on the same socket.
    void Restart() {
        const char* argv[] = {"sh", "-c",
                              "exec pulseaudio -n --daemonize=no --exit-idle-time=-1 "
                              "--disallow-exit --use-pid-file=no -L 'module-null-sink "
                              "sink_name=rec_sink rate=44100 channels=2' "
                              "-L module-native-protocol-unix >/dev/null 2>&1",
                              nullptr};
        ASSERT_EQ(posix_spawnp(&m_restarted, argv[0], nullptr, nullptr,
                               const_cast<char**>(argv), // NOLINT: argv is not written
                               environ),
                  0);
        ASSERT_TRUE(WaitFor(ServerAnswers));
    }

    pid_t m_restarted = 0;
};

TEST_F(SourceRestartPulse, TheListTheChoiceAndTheLevelStayRightAfterARestart) {
    AddInputs();
    wavetest::CaptureClient capture;
    ASSERT_EQ(capture.open(platform::wave::CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(capture.queueAndStart(), MMSYSERR_NOERROR);
    ASSERT_TRUE(WaitFor([] { return !pulsetest::ownCaptureSource().empty(); }));
    ASSERT_TRUE(m_watch.Open());
    m_sources.EnumRecordSources();
    const std::vector<std::string> all = {"Playback", "USB-Mic", "Line-Input"};
    ASSERT_EQ(m_selector.Items(), all);
    m_selector.Select(2);
    m_sources.ApplyRecordSource();
    ASSERT_EQ(pulsetest::ownCaptureSource(), "sondrel_line");

    // Gone: nothing to list, and the slider owns no source.
    ASSERT_EQ(kill(pulsetest::serverPid(), SIGKILL), 0);
    ASSERT_TRUE(FollowChange());
    EXPECT_TRUE(m_selector.Items().empty());
    m_slider.Drag(1000);
    m_sources.OnVolumeReleased();

    // Back, with its inputs: the watch and the capture come back by themselves.
    Restart();
    const std::string line = AddInputs();
    ASSERT_TRUE(WaitFor([this] { return m_watch.Open(); }));
    m_sources.OnSourcesChanged();
    EXPECT_EQ(m_selector.Items(), all);
    EXPECT_EQ(m_selector.CurrentIndex(), 2) << "the line input chosen before";
    EXPECT_TRUE(WaitFor([] { return pulsetest::ownCaptureSource() == "sondrel_line"; }))
        << "our capture records " << pulsetest::ownCaptureSource();
    EXPECT_NEAR(m_slider.GetPos(), 65535 * 3 / 10, 700) << "the line input's level";

    // Followed as before: the chosen input unplugged and plugged in again is
    // chosen again, and our capture, which the server moved away, with it.
    pulsetest::pactl("unload-module " + line);
    ASSERT_TRUE(FollowChange());
    EXPECT_EQ(m_selector.Items(), (std::vector<std::string>{"Playback", "USB-Mic"}));
    AddInput("sondrel_line", "Line-Input");
    ASSERT_TRUE(FollowChange());
    EXPECT_EQ(m_selector.Items(), all);
    EXPECT_EQ(m_selector.CurrentIndex(), 2);
    m_slider.Drag(32768);
    m_sources.OnVolumeReleased();
    EXPECT_EQ(pulsetest::sourceVolume("sondrel_line"), 32769);
    EXPECT_EQ(pulsetest::ownCaptureSource(), "sondrel_line");
    capture.resetAndClose();
}

} // namespace
