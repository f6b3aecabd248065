// The mixer service without a sound server: the virtual mixer through the mixer
// functions (items, the state file shared with other programs, callbacks), the ALSA and
// PulseAudio layouts built from made-up elements and sources, their volume scales, and the
// helpers.
#include "platform/mixer/AlsaMixerLayout.h"
#include "platform/mixer/ComponentTypeGuess.h"
#include "platform/mixer/MixerApi.h"
#include "platform/mixer/MixerTypes.h"
#include "platform/mixer/MuxSelection.h"
#include "platform/mixer/PulseSourceMapping.h"
#include "platform/mixer/VirtualMixerState.h"
#include "tests/platform/mixer/MixerTestKit.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <pulse/def.h>
#include <pulse/volume.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace mixertest;
using namespace platform::mixer;

namespace {

class VirtualMixer : public ::testing::Test {
protected:
    HMIXER open(NotificationLog* log = nullptr) { return m_mixers.open(log); }

    VirtualMixerSandbox m_sandbox;
    const std::filesystem::path m_folder = m_sandbox.folder();
    const std::filesystem::path m_statePath = m_sandbox.statePath();
    NotificationLog m_log;
    OpenedMixers m_mixers; // closed before the log goes
};

TEST_F(VirtualMixer, ControlsFoundByIdAndAllAtOnce) {
    HMIXER mixer = open();
    MIXERLINE line;
    ASSERT_EQ(destination(mixer, line), MMSYSERR_NOERROR);
    MIXERCONTROL all[1];
    MIXERLINECONTROLS query;
    query.dwLineID = line.dwLineID;
    query.cControls = 1;
    query.pamxctrl = all;
    ASSERT_EQ(mixerGetLineControls(mixer, &query, MIXER_GETLINECONTROLSF_ALL), MMSYSERR_NOERROR);
    EXPECT_EQ(all[0].dwControlType, MIXERCONTROL_CONTROLTYPE_MUX);
    EXPECT_EQ(all[0].fdwControl, MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE);

    const std::uint32_t volume = volumeId(mixer, kCdAudio);
    MIXERCONTROL byId;
    MIXERLINECONTROLS idQuery;
    idQuery.dwControlID = volume;
    idQuery.cControls = 1;
    idQuery.pamxctrl = &byId;
    ASSERT_EQ(mixerGetLineControls(mixer, &idQuery, MIXER_GETLINECONTROLSF_ONEBYID),
              MMSYSERR_NOERROR);
    EXPECT_EQ(byId.dwControlType, MIXERCONTROL_CONTROLTYPE_VOLUME);
    EXPECT_EQ(byId.Bounds.dwMinimum, 0u);
    EXPECT_EQ(byId.Bounds.dwMaximum, 65535u);
    EXPECT_EQ(byId.Metrics.cSteps, 65535u);
    MIXERLINE owner;
    ASSERT_EQ(sourceLine(mixer, kCdAudio, owner), MMSYSERR_NOERROR);
    EXPECT_EQ(idQuery.dwLineID, owner.dwLineID);
    // Items are written all at once, exactly one of them set.
    SelectControl control;
    ASSERT_EQ(selectControl(mixer, control), MMSYSERR_NOERROR);
    EXPECT_EQ(writeItems(mixer, control, {0, 0, 0, 0}), MIXERR_INVALVALUE);
    ASSERT_EQ(writeItems(mixer, control, {0, 1, 0, 0}), MMSYSERR_NOERROR);
    EXPECT_EQ(chosenItem(mixer), static_cast<int>(kLineIn));
    mixerClose(mixer);
}

TEST_F(VirtualMixer, ChangesOfTheStateFileByAnotherProgramAreNotified) {
    NotificationLog& log = m_log;
    HMIXER watcher = open(&log);
    SelectControl control;
    ASSERT_EQ(selectControl(watcher, control), MMSYSERR_NOERROR);
    const std::uint32_t cd = volumeId(watcher, kCdAudio);
    const std::uint32_t microphone = volumeId(watcher, kMicrophone);

    // Another program rewrites the file in place.
    {
        std::ofstream file(m_statePath, std::ios::trunc);
        file << "selected=2\nvolume2=5,6\n";
    }
    EXPECT_TRUE(log.waitFor(MM_MIXM_CONTROL_CHANGE, control.id));
    EXPECT_TRUE(log.waitFor(MM_MIXM_CONTROL_CHANGE, cd));
    EXPECT_EQ(chosenItem(watcher), static_cast<int>(kCdAudio));
    std::vector<std::uint32_t> values;
    ASSERT_EQ(readVolume(watcher, cd, 2, values), MMSYSERR_NOERROR);
    EXPECT_EQ(values, (std::vector<std::uint32_t>{5, 6}));

    // Removing the file brings back the defaults, and says so.
    log.clear();
    std::filesystem::remove(m_statePath);
    EXPECT_TRUE(log.waitFor(MM_MIXM_CONTROL_CHANGE, control.id));
    EXPECT_TRUE(log.waitFor(MM_MIXM_CONTROL_CHANGE, cd));
    EXPECT_EQ(chosenItem(watcher), static_cast<int>(kMicrophone));
    // Lines whose volume stayed the same were not reported.
    EXPECT_FALSE(log.has(MM_MIXM_CONTROL_CHANGE, microphone));
}

struct ReenteringReceiver {
    std::atomic<MMRESULT> closeResult{MMSYSERR_NOERROR};
    std::atomic<MMRESULT> readResult{MMSYSERR_ERROR};
    std::atomic<std::uint32_t> valueSeen{0};
    std::atomic<bool> done{false};

    static void onMessage(HMIXER mixer, std::uint32_t message, std::uintptr_t instance,
                          std::uint32_t id) {
        auto* self = reinterpret_cast<ReenteringReceiver*>(instance);
        if (message != MM_MIXM_CONTROL_CHANGE || self->done.load()) {
            return;
        }
        std::vector<std::uint32_t> values;
        self->readResult = readVolume(mixer, id, 1, values);
        self->valueSeen = values.empty() ? 0 : values[0];
        self->closeResult = mixerClose(mixer);
        self->done = true;
    }
};

TEST_F(VirtualMixer, CallbackMayReadThroughItsHandleButNotCloseIt) {
    ReenteringReceiver receiver;
    HMIXER mixer = nullptr;
    ASSERT_EQ(mixerOpen(&mixer, 0, &ReenteringReceiver::onMessage,
                        reinterpret_cast<std::uintptr_t>(&receiver), CALLBACK_FUNCTION),
              MMSYSERR_NOERROR);
    ASSERT_EQ(writeVolume(mixer, volumeId(mixer, kMicrophone), {4242}), MMSYSERR_NOERROR);
    // Bounded, so that a lost message fails the test instead of hanging it.
    for (int pause = 0; pause < 10000 && !receiver.done.load(); ++pause) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_TRUE(receiver.done.load());
    EXPECT_EQ(receiver.readResult.load(), MMSYSERR_NOERROR);
    EXPECT_EQ(receiver.valueSeen.load(), 4242u);
    EXPECT_EQ(receiver.closeResult.load(), MMSYSERR_HANDLEBUSY);
    EXPECT_EQ(mixerClose(mixer), MMSYSERR_NOERROR);
}

TEST_F(VirtualMixer, UnwritableStateFileFailsTheWriteOnly) {
    std::filesystem::create_directories(m_folder);
    std::ofstream(m_folder / "blocker") << "a file where a folder should be";
    setenv("SONDREL_MIXER_STATE", (m_folder / "blocker" / "mixer.ini").c_str(), 1);
    HMIXER mixer = open();
    const std::uint32_t line = volumeId(mixer, kLineIn);
    EXPECT_EQ(writeVolume(mixer, line, {5, 5}), MMSYSERR_ERROR);
    EXPECT_EQ(chooseItem(mixer, kAux), MMSYSERR_ERROR);
    std::vector<std::uint32_t> values;
    EXPECT_EQ(readVolume(mixer, line, 2, values), MMSYSERR_NOERROR);
    EXPECT_EQ(values, (std::vector<std::uint32_t>{49152, 49152}));
    mixerClose(mixer);
}

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

} // namespace
