// Choosing the backends: the texts, the environment over the settings, and
// the capture device list for virtual and unusable inputs.

#include "platform/wave/WaveSettings.h"
#include "platform/wave/CaptureDevices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace platform::wave;

namespace {

using Kind = BackendChoice::Kind;

struct ParseCase {
    const char* text;
    WaveDirection direction;
    bool usable;
    Kind kind;
    const char* argument;
};

TEST(BackendChoice, TextsParseByDirection) {
    const ParseCase cases[] = {
        {"alsa:default", WaveDirection::Input, true, Kind::Alsa, "default"},
        {"alsa:hw:1,0", WaveDirection::Input, true, Kind::Alsa, "hw:1,0"},
        {"pulse", WaveDirection::Output, true, Kind::Alsa, "pulse"},
        {"file:/tmp/a b.wav", WaveDirection::Input, true, Kind::File, "/tmp/a b.wav"},
        {"file:/tmp/out.wav", WaveDirection::Output, true, Kind::File, "/tmp/out.wav"},
        {"tone", WaveDirection::Input, true, Kind::Tone, ""},
        {"silence", WaveDirection::Input, true, Kind::Silence, ""},
        {"null", WaveDirection::Output, true, Kind::Null, ""},
        {"tone", WaveDirection::Output, false, Kind::Alsa, ""},
        {"silence", WaveDirection::Output, false, Kind::Alsa, ""},
        {"null", WaveDirection::Input, false, Kind::Alsa, ""},
        {"file:", WaveDirection::Input, false, Kind::Alsa, ""},
        {"alsa:", WaveDirection::Output, false, Kind::Alsa, ""},
        {"", WaveDirection::Input, false, Kind::Alsa, ""},
    };
    for (const ParseCase& c : cases) {
        const auto choice = BackendChoice::Parse(c.text, c.direction);
        ASSERT_EQ(choice.has_value(), c.usable) << c.text;
        if (choice) {
            EXPECT_EQ(choice->kind, c.kind) << c.text;
            EXPECT_EQ(choice->argument, c.argument) << c.text;
            EXPECT_EQ(BackendChoice::Parse(choice->Text(), c.direction)->Text(), choice->Text());
        }
    }
}

TEST(WaveSettings, TheEnvironmentWinsOverTheSettingsWhenSet) {
    WaveSettings settings;
    settings.input = "alsa:hw:0,0";
    settings.output = "file:/tmp/x.wav";

    const auto fromSettings = ChooseWaveBackends(settings, nullptr, "");
    EXPECT_EQ(fromSettings.input->Text(), "alsa:hw:0,0");
    EXPECT_EQ(fromSettings.output->Text(), "file:/tmp/x.wav");

    const auto fromEnv = ChooseWaveBackends(settings, "tone", "null");
    EXPECT_EQ(fromEnv.input->kind, Kind::Tone);
    EXPECT_EQ(fromEnv.output->kind, Kind::Null);

    const auto defaults = ChooseWaveBackends(WaveSettings{}, nullptr, nullptr);
    EXPECT_EQ(defaults.input->Text(), "alsa:default");
    EXPECT_EQ(defaults.output->Text(), "alsa:default");

    EXPECT_FALSE(ChooseWaveBackends(settings, "null", nullptr).input.has_value());
}

TEST(CaptureDevices, AVirtualInputIsTheOnlyDevice) {
    const auto devices = ListCaptureDevices(BackendChoice::Parse("tone", WaveDirection::Input));
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].name, "tone");
}

TEST(CaptureDevices, AnUnusableSettingListsNothing) {
    EXPECT_TRUE(ListCaptureDevices(std::nullopt).empty());
}

TEST(CaptureDevices, AnAlsaDeviceThatIsNotThereIsNotListed) {
    const auto devices = ListCaptureDevices(
        BackendChoice::Parse("alsa:sondrel_no_such_device", WaveDirection::Input));
    for (const CaptureDevice& device : devices) {
        EXPECT_NE(device.name, "alsa:sondrel_no_such_device");
        EXPECT_TRUE(device.name.starts_with("alsa:hw:")) << device.name;
    }
    // Without sound cards nothing is left to capture from.
    std::ifstream cards("/proc/asound/cards");
    std::string first;
    std::getline(cards, first);
    if (!cards || first.find("no soundcards") != std::string::npos) {
        EXPECT_TRUE(devices.empty());
    }
}

} // namespace
