#include "platform/mixer/AlsaMixerLayout.h"
#include "platform/mixer/AlsaMixer.h"
#include "platform/mixer/MixerTypes.h"

#include <gtest/gtest.h>

using namespace platform::mixer;

namespace {

AlsaElementInfo volumeElement(const std::string& name, long minimum, long maximum,
                              std::uint32_t channels = 2) {
    AlsaElementInfo element;
    element.name = name;
    element.hasCaptureVolume = true;
    element.channels = channels;
    element.volumeMin = minimum;
    element.volumeMax = maximum;
    return element;
}

// A typical codec: a "Capture Source" choosing Mic, Line or CD, one "Capture" volume, and
// a "Mic" capture volume of its own.
std::vector<AlsaElementInfo> codecWithCaptureSource() {
    AlsaElementInfo master = volumeElement("Capture", 0, 31);
    master.hasCaptureSwitch = true;
    AlsaElementInfo source;
    source.name = "Capture Source";
    source.isCaptureEnum = true;
    source.enumItems = {"Mic", "Line", "CD", "Aux"};
    source.channels = 2;
    AlsaElementInfo playbackOnly;
    playbackOnly.name = "Master";
    return {playbackOnly, master, source, volumeElement("Mic", 0, 63, 1)};
}

TEST(AlsaMixerLayout, CaptureSourceElementBecomesMuxOverItsItems) {
    MixerLayout layout;
    AlsaLayoutPlan plan;
    BuildAlsaLayout(codecWithCaptureSource(), layout, plan);
    EXPECT_EQ(layout.selectKind, MixerSelectKind::Mux);
    EXPECT_EQ(plan.enumElement, 2);
    ASSERT_EQ(layout.lines.size(), 4u);
    EXPECT_EQ(layout.lines[0].shortName, "Mic");
    EXPECT_EQ(layout.lines[0].componentType, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    EXPECT_EQ(layout.lines[0].channels, 1u);
    EXPECT_EQ(plan.targets[0].volumeElement, 3); // its own capture volume
    EXPECT_EQ(layout.lines[1].componentType, MIXERLINE_COMPONENTTYPE_SRC_LINE);
    EXPECT_EQ(plan.targets[1].volumeElement, 1); // the card's "Capture" volume
    EXPECT_EQ(layout.lines[2].componentType, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC);
    EXPECT_EQ(layout.lines[3].componentType, MIXERLINE_COMPONENTTYPE_SRC_ANALOG);
    for (std::size_t i = 0; i < plan.targets.size(); ++i) {
        EXPECT_EQ(plan.targets[i].enumItem, static_cast<int>(i));
        EXPECT_EQ(plan.targets[i].switchElement, -1);
        EXPECT_TRUE(layout.lines[i].hasVolume);
        EXPECT_EQ(layout.lines[i].volumeMax, 65535u);
    }
    EXPECT_EQ(layout.lines[0].volumeSteps, 63u);
    EXPECT_EQ(layout.lines[1].volumeSteps, 31u);
}

TEST(AlsaMixerLayout, MuxItemWithoutAnyCaptureVolumeHasNoVolume) {
    AlsaElementInfo source;
    source.name = "Input Source";
    source.isCaptureEnum = true;
    source.enumItems = {"Front Mic", "Rear Mic"};
    MixerLayout layout;
    AlsaLayoutPlan plan;
    BuildAlsaLayout({source}, layout, plan);
    ASSERT_EQ(layout.lines.size(), 2u);
    EXPECT_FALSE(layout.lines[0].hasVolume);
    EXPECT_EQ(layout.lines[0].channels, 2u);
    EXPECT_EQ(plan.targets[1].volumeElement, -1);
}

TEST(AlsaMixerLayout, WithoutCaptureSourceSwitchesMakeAMixer) {
    AlsaElementInfo mic = volumeElement("Mic", 0, 100, 1);
    mic.hasCaptureSwitch = true;
    AlsaElementInfo line;
    line.name = "Line";
    line.hasCaptureSwitch = true;
    AlsaElementInfo playback;
    playback.name = "PCM";
    MixerLayout layout;
    AlsaLayoutPlan plan;
    BuildAlsaLayout({playback, mic, line, volumeElement("Digital", 0, 10)}, layout, plan);
    EXPECT_EQ(layout.selectKind, MixerSelectKind::Mixer);
    EXPECT_EQ(plan.enumElement, -1);
    ASSERT_EQ(layout.lines.size(), 3u);
    EXPECT_EQ(layout.lines[0].shortName, "Mic");
    EXPECT_EQ(plan.targets[0].volumeElement, 1);
    EXPECT_EQ(plan.targets[0].switchElement, 1);
    EXPECT_FALSE(layout.lines[1].hasVolume);
    EXPECT_EQ(plan.targets[1].switchElement, 2);
    EXPECT_EQ(plan.targets[2].switchElement, -1); // a volume without a switch: always recorded
    EXPECT_EQ(layout.lines[2].componentType, MIXERLINE_COMPONENTTYPE_SRC_ANALOG);
}

TEST(AlsaMixerLayout, NoCaptureElementsGiveNoLines) {
    AlsaElementInfo playback;
    playback.name = "Master";
    MixerLayout layout;
    AlsaLayoutPlan plan;
    BuildAlsaLayout({playback}, layout, plan);
    EXPECT_TRUE(layout.lines.empty());
    EXPECT_TRUE(plan.targets.empty());
}

TEST(AlsaVolumeScale, EveryRawStepSurvivesTheRoundTrip) {
    for (const auto& [minimum, maximum] :
         std::vector<std::pair<long, long>>{{0, 31}, {0, 63}, {-20, 100}, {0, 65535}, {5, 6}}) {
        EXPECT_EQ(MixerVolumeFromAlsa(minimum, minimum, maximum), 0u);
        EXPECT_EQ(MixerVolumeFromAlsa(maximum, minimum, maximum), 65535u);
        for (long raw = minimum; raw <= maximum; ++raw) {
            ASSERT_EQ(
                AlsaVolumeFromMixer(MixerVolumeFromAlsa(raw, minimum, maximum), minimum, maximum),
                raw)
                << minimum << ".." << maximum;
        }
    }
}

TEST(AlsaVolumeScale, OutOfRangeAndEmptyRanges) {
    EXPECT_EQ(MixerVolumeFromAlsa(-5, 0, 31), 0u);
    EXPECT_EQ(MixerVolumeFromAlsa(99, 0, 31), 65535u);
    EXPECT_EQ(AlsaVolumeFromMixer(70000, 0, 31), 31);
    EXPECT_EQ(MixerVolumeFromAlsa(3, 3, 3), 0u);
    EXPECT_EQ(AlsaVolumeFromMixer(1000, 3, 3), 3);
}

TEST(AlsaMixerCard, ReadsTheCardWhenThereIsOne) {
    std::unique_ptr<AlsaMixer> mixer = AlsaMixer::Open("default");
    if (!mixer) {
        GTEST_SKIP() << "no ALSA card with a capture mixer on this machine";
    }
    MixerLayout layout;
    ASSERT_TRUE(mixer->ReadLayout(layout));
    ASSERT_FALSE(layout.lines.empty());
    std::vector<bool> selected;
    EXPECT_TRUE(mixer->ReadSelection(selected));
    EXPECT_EQ(selected.size(), layout.lines.size());
    for (std::size_t line = 0; line < layout.lines.size(); ++line) {
        std::vector<std::uint32_t> values;
        if (layout.lines[line].hasVolume) {
            ASSERT_TRUE(mixer->ReadVolume(line, values));
            EXPECT_EQ(values.size(), layout.lines[line].channels);
            // Writing back what was read changes nothing.
            EXPECT_TRUE(mixer->WriteVolume(line, values));
        }
    }
}

TEST(AlsaMixerCard, UnknownDeviceHasNoMixer) {
    EXPECT_EQ(AlsaMixer::Open("sondrel_no_such_device"), nullptr);
}

} // namespace
