#include "platform/mixer/ComponentTypeGuess.h"
#include "platform/mixer/MixerText.h"
#include "platform/mixer/MixerTypes.h"
#include "platform/mixer/MuxSelection.h"
#include "platform/mixer/VirtualMixerState.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <unistd.h>
#include <vector>

using namespace platform::mixer;

namespace {

TEST(MuxSelection, WrittenItemsResolveToOneChoice) {
    struct Case {
        std::vector<bool> current;
        std::vector<bool> written;
        std::optional<std::size_t> chosen;
    };
    const std::vector<Case> cases = {
        // Read back {0,1,0,0}, item 3 set, written back: item 3 is chosen.
        {{false, true, false, false}, {false, true, false, true}, std::size_t{3}},
        {{false, true, false}, {false, true, false}, std::size_t{1}}, // the current choice kept
        {{true, false}, {false, true}, std::size_t{1}},
        {{false, false, false}, {false, true, true}, std::size_t{1}}, // the first requested
        {{true, false}, {false, false}, std::nullopt},
        {{true, false}, {true}, std::nullopt}, // wrong size
        {{}, {}, std::nullopt},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(ResolveMuxWrite(cases[i].current, cases[i].written), cases[i].chosen)
            << "case " << i;
    }
}

TEST(MixerText, CutsAtByteLimitWithoutSplittingUtf8) {
    EXPECT_EQ(FitText("Microphone", 15), "Microphone");
    EXPECT_EQ(FitText("Built-in Audio Analog Stereo", 15), "Built-in Audio ");
    // "Mikrofön" : the ö is two bytes at positions 6..7; a cut at 7 must drop it entirely.
    EXPECT_EQ(FitText("Mikrof\xC3\xB6n", 7), "Mikrof");
    EXPECT_EQ(FitText("Mikrof\xC3\xB6n", 8), "Mikrof\xC3\xB6");
    EXPECT_EQ(FitText("", 0), "");
}

TEST(MixerText, CopyFillsFieldAndTerminates) {
    char field[MIXER_SHORT_NAME_CHARS];
    std::fill(std::begin(field), std::end(field), 'x');
    CopyText(field, sizeof field, "A very long source name indeed");
    EXPECT_EQ(std::string(field), "A very long sou");
    CopyText(field, sizeof field, "Aux");
    EXPECT_EQ(std::string(field), "Aux");
    EXPECT_EQ(field[sizeof field - 1], '\0');
}

TEST(ComponentTypeGuess, NamesOfCommonInputs) {
    EXPECT_EQ(ComponentTypeFromName("analog-input-mic"), MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    EXPECT_EQ(ComponentTypeFromName("Front Mic"), MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    EXPECT_EQ(ComponentTypeFromName("Headset Microphone"), MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    EXPECT_EQ(ComponentTypeFromName("Line"), MIXERLINE_COMPONENTTYPE_SRC_LINE);
    EXPECT_EQ(ComponentTypeFromName("analog-input-linein"), MIXERLINE_COMPONENTTYPE_SRC_LINE);
    EXPECT_EQ(ComponentTypeFromName("CD"), MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC);
    EXPECT_EQ(ComponentTypeFromName("analog-input-cd"), MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC);
    EXPECT_EQ(ComponentTypeFromName("Phone"), MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE);
    EXPECT_EQ(ComponentTypeFromName("Headphone"), MIXERLINE_COMPONENTTYPE_SRC_ANALOG);
    EXPECT_EQ(ComponentTypeFromName("Video"), MIXERLINE_COMPONENTTYPE_SRC_ANALOG);
    EXPECT_EQ(ComponentTypeFromName("Capture"), MIXERLINE_COMPONENTTYPE_SRC_ANALOG);
    EXPECT_EQ(ComponentTypeFromName(""), MIXERLINE_COMPONENTTYPE_SRC_ANALOG);
}

class VirtualMixerStateFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = std::filesystem::temp_directory_path() /
                   ("sondrel-mixer-state-" + std::to_string(getpid()));
        std::filesystem::remove_all(m_folder);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }
    void write(const std::string& text) {
        std::filesystem::create_directories(m_folder);
        std::ofstream(m_folder / "mixer.ini") << text;
    }

    std::filesystem::path m_folder;
};

// A first start has no folder for the state yet.
TEST_F(VirtualMixerStateFile, SaveCreatesFolderAndLoadReadsItBack) {
    VirtualMixerState state({1, 2}, 100);
    state.Select(1);
    state.SetVolume(1, {7, 65535});
    ASSERT_TRUE(state.Save(m_folder / "deeper" / "mixer.ini"));

    VirtualMixerState again({1, 2}, 100);
    again.Load(m_folder / "deeper" / "mixer.ini", 65535);
    EXPECT_EQ(again.Selected(), 1u);
    EXPECT_EQ(again.Volume(0), std::vector<std::uint32_t>{100});
    EXPECT_EQ(again.Volume(1), (std::vector<std::uint32_t>{7, 65535}));
}

TEST_F(VirtualMixerStateFile, BrokenEntriesKeepDefaults) {
    write("selected=9\nvolume0=abc\nvolume1=5\nvolume7=1,1\nvolume2=70000,1\n"
          "garbage\n=\nvolume=1\nvolume1x=3,3\n");
    VirtualMixerState state({1, 2, 2}, 42);
    state.Load(m_folder / "mixer.ini", 65535);
    EXPECT_EQ(state.Selected(), 0u);
    EXPECT_EQ(state.Volume(0), std::vector<std::uint32_t>{42});
    EXPECT_EQ(state.Volume(1), (std::vector<std::uint32_t>{42, 42})); // wrong channel count
    EXPECT_EQ(state.Volume(2), (std::vector<std::uint32_t>{42, 42})); // above the maximum
}

TEST(VirtualMixerStatePath, EnvironmentChoosesTheFile) {
    const char* home = std::getenv("HOME");
    const std::string savedHome = home == nullptr ? "" : home;
    setenv("SONDREL_MIXER_STATE", "/tmp/x/state.ini", 1);
    EXPECT_EQ(VirtualMixerState::DefaultPath(), "/tmp/x/state.ini");
    unsetenv("SONDREL_MIXER_STATE");
    setenv("XDG_DATA_HOME", "/tmp/data", 1);
    EXPECT_EQ(VirtualMixerState::DefaultPath(), "/tmp/data/sondrel/mixer.ini");
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(VirtualMixerState::DefaultPath(), "/home/someone/.local/share/sondrel/mixer.ini");
    setenv("HOME", savedHome.c_str(), 1);
}

} // namespace
