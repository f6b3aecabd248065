#include "platform/mixer/PulseSourceMapping.h"
#include "platform/mixer/MixerTypes.h"

#include <gtest/gtest.h>

#include <pulse/def.h>
#include <pulse/volume.h>

using namespace platform::mixer;

namespace {

PulseSourceInfo source(std::uint32_t index, const std::string& name,
                       const std::string& description) {
    PulseSourceInfo info;
    info.index = index;
    info.name = name;
    info.description = description;
    info.channels = 2;
    info.volume = {PA_VOLUME_NORM, PA_VOLUME_NORM};
    return info;
}

// A desktop: the monitor of the speakers, the card's analog input with three ports, a USB
// webcam microphone and the monitor of an HDMI output. The server lists them out of order.
std::vector<PulseSourceInfo> desktop() {
    PulseSourceInfo speakersMonitor = source(1, "alsa_output.pci.analog-stereo.monitor",
                                             "Monitor of Built-in Audio Analog Stereo");
    speakersMonitor.isMonitor = true;
    PulseSourceInfo card =
        source(2, "alsa_input.pci.analog-stereo", "Built-in Audio Analog Stereo");
    card.ports = {{"analog-input-front-mic", "Front Microphone", PA_DEVICE_PORT_TYPE_MIC},
                  {"analog-input-linein", "Line In", PA_DEVICE_PORT_TYPE_LINE},
                  {"analog-input-rear-mic", "Rear Microphone", PA_DEVICE_PORT_TYPE_UNKNOWN}};
    card.activePort = "analog-input-linein";
    PulseSourceInfo webcam = source(7, "alsa_input.usb-cam.mono", "HD Webcam C270 Mono");
    webcam.channels = 1;
    webcam.volume = {PA_VOLUME_NORM / 2};
    webcam.formFactor = "webcam";
    webcam.ports = {{"analog-input-mic", "Microphone", PA_DEVICE_PORT_TYPE_MIC}};
    PulseSourceInfo hdmiMonitor = source(5, "alsa_output.hdmi.monitor", "Monitor of HDMI");
    hdmiMonitor.isMonitor = true;
    return {webcam, card, speakersMonitor, hdmiMonitor};
}

TEST(PulseLayout, SourcesInIndexOrderWithPortsOfMultiPortSourcesExpanded) {
    MixerLayout layout;
    std::vector<PulseLineTarget> targets;
    BuildPulseLayout(desktop(), layout, targets);
    EXPECT_EQ(layout.selectKind, MixerSelectKind::Mux);
    ASSERT_EQ(layout.lines.size(), 6u);
    ASSERT_EQ(targets.size(), 6u);

    EXPECT_EQ(layout.lines[0].shortName, "Playback");
    EXPECT_EQ(layout.lines[0].name, "Monitor of Built-in Audio Analog Stereo");
    EXPECT_EQ(layout.lines[0].componentType, MIXERLINE_COMPONENTTYPE_SRC_ANALOG);

    EXPECT_EQ(layout.lines[1].shortName, "Front Microphon"); // 15 bytes
    EXPECT_EQ(layout.lines[1].componentType, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    EXPECT_EQ(targets[1].port, "analog-input-front-mic");
    EXPECT_EQ(layout.lines[2].shortName, "Line In");
    EXPECT_EQ(layout.lines[2].name, "Line In - Built-in Audio Analog Stereo");
    EXPECT_EQ(layout.lines[2].componentType, MIXERLINE_COMPONENTTYPE_SRC_LINE);
    // A port of unknown type is judged by its name.
    EXPECT_EQ(layout.lines[3].componentType, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    for (std::size_t i = 1; i <= 3; ++i) {
        EXPECT_EQ(targets[i].sourceName, "alsa_input.pci.analog-stereo");
        EXPECT_EQ(targets[i].sourceIndex, 2u);
    }

    EXPECT_EQ(layout.lines[4].shortName, "Playback 2");
    EXPECT_EQ(targets[4].sourceIndex, 5u);

    // A single port is not expanded; the form factor says microphone.
    EXPECT_EQ(layout.lines[5].shortName, "HD Webcam C270 ");
    EXPECT_EQ(layout.lines[5].componentType, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    EXPECT_EQ(layout.lines[5].channels, 1u);
    EXPECT_TRUE(targets[5].port.empty());

    for (const MixerSourceLine& line : layout.lines) {
        EXPECT_TRUE(line.hasVolume);
        EXPECT_EQ(line.volumeMin, 0u);
        EXPECT_EQ(line.volumeMax, 65535u);
        EXPECT_LE(line.shortName.size(), 15u);
    }
}

TEST(PulseLayout, NoSourcesNoLines) {
    MixerLayout layout;
    std::vector<PulseLineTarget> targets;
    BuildPulseLayout({}, layout, targets);
    EXPECT_TRUE(layout.lines.empty());
    EXPECT_TRUE(targets.empty());
}

TEST(PulseLayout, SourcesWithoutPortsOrFormFactorAreJudgedByName) {
    MixerLayout layout;
    std::vector<PulseLineTarget> targets;
    PulseSourceInfo handset = source(3, "bt.handset", "Phone");
    handset.formFactor = "handset";
    BuildPulseLayout({source(1, "line_src", "Null Input"), source(2, "mic_src", "Null Input"),
                      handset, source(4, "other", "Null Input")},
                     layout, targets);
    ASSERT_EQ(layout.lines.size(), 4u);
    EXPECT_EQ(layout.lines[0].componentType, MIXERLINE_COMPONENTTYPE_SRC_LINE);
    EXPECT_EQ(layout.lines[1].componentType, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    EXPECT_EQ(layout.lines[2].componentType, MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE);
    EXPECT_EQ(layout.lines[3].componentType, MIXERLINE_COMPONENTTYPE_SRC_ANALOG);
}

TEST(PulseSelection, DefaultSourceAndItsActivePort) {
    MixerLayout layout;
    std::vector<PulseLineTarget> targets;
    const std::vector<PulseSourceInfo> sources = desktop();
    BuildPulseLayout(sources, layout, targets);
    EXPECT_EQ(PulseSelection(targets, sources, "alsa_input.pci.analog-stereo"),
              (std::vector<bool>{false, false, true, false, false, false}));
    EXPECT_EQ(PulseSelection(targets, sources, "alsa_output.hdmi.monitor"),
              (std::vector<bool>{false, false, false, false, true, false}));
    EXPECT_EQ(PulseSelection(targets, sources, "gone"), std::vector<bool>(6, false));
}

TEST(PulseVolumeScale, EveryMixerValueSurvivesTheRoundTrip) {
    for (std::uint32_t value = 0; value <= 65535; ++value) {
        ASSERT_EQ(MixerVolumeFromPulse(PulseVolumeFromMixer(value)), value);
    }
}

TEST(PulseVolumeScale, EndsAndMiddleMatchTheServersScale) {
    EXPECT_EQ(PulseVolumeFromMixer(0), PA_VOLUME_MUTED);
    EXPECT_EQ(PulseVolumeFromMixer(65535), PA_VOLUME_NORM);
    EXPECT_EQ(PulseVolumeFromMixer(32768), PA_VOLUME_NORM / 2 + 1);
    EXPECT_EQ(MixerVolumeFromPulse(PA_VOLUME_NORM / 2), 32768u);
    // Above 100 % (a boost set elsewhere) reads as the top of the scale.
    EXPECT_EQ(MixerVolumeFromPulse(PA_VOLUME_NORM * 3 / 2), 65535u);
    EXPECT_EQ(MixerVolumeFromPulse(PA_VOLUME_MAX), 65535u);
    EXPECT_EQ(PulseVolumeFromMixer(0xFFFFFFFFu), PA_VOLUME_NORM);
}

} // namespace
