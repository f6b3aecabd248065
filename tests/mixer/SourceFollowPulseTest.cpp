// The recording sources follow the private sound server while they run: an
// input unplugged and plugged in again (modules unloaded and loaded with pactl)
// leaves the list, the choice, our capture's source and the level right, and
// the desktop's default source is never touched. With a single source the
// slider, never bound, leaves its level alone.

#include "tests/mixer/WatchedPulseSources.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using pulsetest::AddInput;

// The server as with-pulse.sh starts it has one source, the monitor of its sink.
TEST_F(PulseRecordSources, TheUnboundSliderLeavesTheOnlySourcesLevelAlone) {
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

class SourceFollowPulse : public WatchedPulseSources {
protected:
    void SetUp() override {
        WatchedPulseSources::SetUp();
        if (IsSkipped()) {
            return;
        }
        // In the server's order: a USB microphone, the line input, and "Aux",
        // which the list leaves out.
        m_usb = AddInput("sondrel_usb", "USB-Mic");
        m_modules = {AddInput("sondrel_line", "Line-Input"), AddInput("sondrel_aux", "Aux")};
    }
    void TearDown() override {
        for (const std::string& module : m_modules) {
            pulsetest::pactl("unload-module " + module);
        }
        pulsetest::pactl("unload-module " + m_usb);
        WatchedPulseSources::TearDown();
    }
    int Entry(const std::string& name) const {
        const auto& items = m_selector.Items();
        const auto found = std::find(items.begin(), items.end(), name);
        return found == items.end() ? -1 : static_cast<int>(found - items.begin());
    }

    std::string m_usb;
    std::vector<std::string> m_modules;
};

TEST_F(SourceFollowPulse, AnUnpluggedInputLeavesTheListTheChoiceAndTheLevelRight) {
    const pulsetest::OwnCaptureStream capture;
    ASSERT_TRUE(capture.IsOpen());
    pulsetest::pactl("set-source-volume sondrel_line 30%");
    ASSERT_TRUE(m_watch.Open());
    m_sources.EnumRecordSources();
    m_sources.ApplyRecordSource();
    EXPECT_EQ(m_selector.Items(), (std::vector<std::string>{"Playback", "USB-Mic", "Line-Input"}));
    EXPECT_EQ(m_selector.CurrentIndex(), Entry("USB-Mic"));
    EXPECT_EQ(pulsetest::ownCaptureSource(), "sondrel_usb");

    // Unplugged: the list follows, and the entry that went is no longer chosen.
    pulsetest::pactl("unload-module " + m_usb);
    ASSERT_TRUE(FollowChange());
    EXPECT_EQ(m_selector.Items(), (std::vector<std::string>{"Playback", "Line-Input"}));
    EXPECT_EQ(pulsetest::ownCaptureSource(), "rec_sink.monitor");
    // Choosing the line input records the line input, not "Aux" in its old place.
    m_selector.Select(Entry("Line-Input"));
    m_sources.ApplyRecordSource();
    EXPECT_EQ(pulsetest::ownCaptureSource(), "sondrel_line");
    EXPECT_NEAR(m_slider.GetPos(), 65535 * 3 / 10, 700) << "the line input's level";

    // Plugged in again: listed again, and the choice stays.
    m_usb = AddInput("sondrel_usb", "USB-Mic");
    ASSERT_TRUE(FollowChange());
    EXPECT_EQ(m_selector.Items(), (std::vector<std::string>{"Playback", "Line-Input", "USB-Mic"}));
    EXPECT_EQ(m_selector.CurrentIndex(), Entry("Line-Input"));
    EXPECT_EQ(pulsetest::ownCaptureSource(), "sondrel_line");
    m_slider.Drag(32768);
    m_sources.OnVolumeReleased();
    EXPECT_EQ(pulsetest::sourceVolume("sondrel_line"), 32769);
    EXPECT_EQ(pulsetest::pactl("get-default-source"), "rec_sink.monitor");
}

} // namespace
