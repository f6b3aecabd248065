#include "platform/mixer/MixerApi.h"
#include "tests/platform/mixer/MixerTestKit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

using namespace mixertest;

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

TEST_F(VirtualMixer, FoundThroughTheDefaultWaveInput) {
    EXPECT_EQ(mixerGetNumDevs(), 1u);
    std::uint32_t id = 99;
    EXPECT_EQ(mixerGetID(WAVE_MAPPER, &id, MIXER_OBJECTF_WAVEIN), MMSYSERR_NOERROR);
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(mixerGetID(0, &id, MIXER_OBJECTF_MIXER), MMSYSERR_NOERROR);
    EXPECT_EQ(mixerGetID(3, &id, MIXER_OBJECTF_WAVEIN), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixerGetID(1, &id, MIXER_OBJECTF_MIXER), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixerGetID(0, nullptr, MIXER_OBJECTF_WAVEIN), MMSYSERR_INVALPARAM);
    EXPECT_EQ(mixerGetID(0, &id, 0x10000000u), MMSYSERR_INVALFLAG);
    id = 99;
    EXPECT_EQ(mixerGetID(0x1234, &id, MIXER_OBJECTF_HWAVEIN), MMSYSERR_NOERROR);
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(mixerGetID(0, &id, MIXER_OBJECTF_HWAVEIN), MMSYSERR_INVALHANDLE);
    MIXERCAPS caps;
    EXPECT_EQ(mixerGetDevCaps(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_STREQ(caps.szPname, "Sondrel Virtual Mixer");
    EXPECT_EQ(caps.cDestinations, 1u);
    EXPECT_EQ(mixerGetDevCaps(1, &caps, sizeof caps), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixerGetDevCaps(0, &caps, 4), MMSYSERR_INVALPARAM);
}

TEST_F(VirtualMixer, RecordingLineOffersFourSourcesThroughAMux) {
    HMIXER mixer = open();
    MIXERLINE line;
    ASSERT_EQ(destination(mixer, line), MMSYSERR_NOERROR);
    EXPECT_EQ(line.dwComponentType, MIXERLINE_COMPONENTTYPE_DST_WAVEIN);
    EXPECT_EQ(line.cConnections, 4u);
    EXPECT_EQ(line.cControls, 1u);

    SelectControl control;
    ASSERT_EQ(selectControl(mixer, control), MMSYSERR_NOERROR);
    EXPECT_EQ(control.type, MIXERCONTROL_CONTROLTYPE_MUX);
    ASSERT_EQ(control.items, 4u);
    std::vector<MIXERCONTROLDETAILS_LISTTEXT> texts;
    ASSERT_EQ(itemTexts(mixer, control, texts), MMSYSERR_NOERROR);
    EXPECT_STREQ(texts[kMicrophone].szName, "Microphone");
    EXPECT_STREQ(texts[kLineIn].szName, "Line   In");
    EXPECT_STREQ(texts[kCdAudio].szName, "CD Audio");
    EXPECT_STREQ(texts[kAux].szName, "Aux");

    // Each item names its line, as the source list is built from them.
    const std::uint32_t types[] = {
        MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, MIXERLINE_COMPONENTTYPE_SRC_LINE,
        MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, MIXERLINE_COMPONENTTYPE_SRC_ANALOG};
    const std::uint32_t channels[] = {1, 2, 2, 2};
    for (std::uint32_t k = 0; k < 4; ++k) {
        MIXERLINE source;
        source.dwLineID = texts[k].dwParam1;
        ASSERT_EQ(mixerGetLineInfo(mixer, &source, MIXER_GETLINEINFOF_LINEID), MMSYSERR_NOERROR);
        EXPECT_EQ(source.dwComponentType, types[k]);
        EXPECT_EQ(texts[k].dwParam2, types[k]);
        EXPECT_EQ(source.cChannels, channels[k]);
        EXPECT_EQ(source.dwSource, k);
        EXPECT_EQ(source.cControls, 1u);
        EXPECT_STREQ(source.szShortName, texts[k].szName);
        EXPECT_NE(source.fdwLine & MIXERLINE_LINEF_SOURCE, 0u);
    }
    // The MIXER kind is not offered when there is a MUX.
    MIXERCONTROL mixerControl;
    MIXERLINECONTROLS query;
    query.dwLineID = line.dwLineID;
    query.dwControlType = MIXERCONTROL_CONTROLTYPE_MIXER;
    query.cControls = 1;
    query.pamxctrl = &mixerControl;
    EXPECT_EQ(mixerGetLineControls(mixer, &query, MIXER_GETLINECONTROLSF_ONEBYTYPE),
              MIXERR_INVALCONTROL);
    EXPECT_EQ(mixerClose(mixer), MMSYSERR_NOERROR);
}

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
    mixerClose(mixer);
}

TEST_F(VirtualMixer, ChoosingAnItemKeepsExactlyOneAndSurvivesReopening) {
    HMIXER mixer = open();
    EXPECT_EQ(chosenItem(mixer), static_cast<int>(kMicrophone));
    // Read back, set CD Audio, write all: the microphone is still set in what is written.
    ASSERT_EQ(chooseItem(mixer, kCdAudio), MMSYSERR_NOERROR);
    EXPECT_EQ(chosenItem(mixer), static_cast<int>(kCdAudio));
    ASSERT_EQ(chooseItem(mixer, kCdAudio), MMSYSERR_NOERROR);
    EXPECT_EQ(chosenItem(mixer), static_cast<int>(kCdAudio));
    mixerClose(mixer);

    mixer = open();
    EXPECT_EQ(chosenItem(mixer), static_cast<int>(kCdAudio));
    SelectControl control;
    ASSERT_EQ(selectControl(mixer, control), MMSYSERR_NOERROR);
    EXPECT_EQ(writeItems(mixer, control, {0, 0, 0, 0}), MIXERR_INVALVALUE);
    EXPECT_EQ(chosenItem(mixer), static_cast<int>(kCdAudio));
    ASSERT_EQ(writeItems(mixer, control, {0, 1, 0, 0}), MMSYSERR_NOERROR);
    EXPECT_EQ(chosenItem(mixer), static_cast<int>(kLineIn));
    mixerClose(mixer);
}

TEST_F(VirtualMixer, VolumesPerChannelUniformAndBounded) {
    HMIXER mixer = open();
    const std::uint32_t line = volumeId(mixer, kLineIn);
    std::vector<std::uint32_t> values;
    ASSERT_EQ(readVolume(mixer, line, 2, values), MMSYSERR_NOERROR);
    EXPECT_EQ(values, (std::vector<std::uint32_t>{49152, 49152}));

    ASSERT_EQ(writeVolume(mixer, line, {1000, 65535}), MMSYSERR_NOERROR);
    ASSERT_EQ(readVolume(mixer, line, 2, values), MMSYSERR_NOERROR);
    EXPECT_EQ(values, (std::vector<std::uint32_t>{1000, 65535}));
    ASSERT_EQ(readVolume(mixer, line, 1, values), MMSYSERR_NOERROR);
    EXPECT_EQ(values, std::vector<std::uint32_t>{1000});

    ASSERT_EQ(writeVolume(mixer, line, {0}), MMSYSERR_NOERROR);
    ASSERT_EQ(readVolume(mixer, line, 2, values), MMSYSERR_NOERROR);
    EXPECT_EQ(values, (std::vector<std::uint32_t>{0, 0}));

    EXPECT_EQ(writeVolume(mixer, line, {65536}), MIXERR_INVALVALUE);
    EXPECT_EQ(writeVolume(mixer, line, {5, 65536}), MIXERR_INVALVALUE);
    EXPECT_EQ(writeVolume(mixer, line, {1, 2, 3}), MMSYSERR_INVALPARAM);
    ASSERT_EQ(readVolume(mixer, line, 2, values), MMSYSERR_NOERROR);
    EXPECT_EQ(values, (std::vector<std::uint32_t>{0, 0}));

    const std::uint32_t microphone = volumeId(mixer, kMicrophone);
    ASSERT_EQ(writeVolume(mixer, microphone, {12345}), MMSYSERR_NOERROR);
    EXPECT_EQ(writeVolume(mixer, microphone, {1, 2}), MMSYSERR_INVALPARAM);
    mixerClose(mixer);

    // Another handle, and a later one, see the same values.
    HMIXER again = open();
    ASSERT_EQ(readVolume(again, microphone, 1, values), MMSYSERR_NOERROR);
    EXPECT_EQ(values, std::vector<std::uint32_t>{12345});
    ASSERT_EQ(readVolume(again, line, 2, values), MMSYSERR_NOERROR);
    EXPECT_EQ(values, (std::vector<std::uint32_t>{0, 0}));
    mixerClose(again);
}

TEST_F(VirtualMixer, EveryHandleHearsOfChangesMadeThroughAnother) {
    NotificationLog& log = m_log;
    HMIXER watcher = open(&log);
    HMIXER changer = open();
    const std::uint32_t aux = volumeId(changer, kAux);
    ASSERT_EQ(writeVolume(changer, aux, {777}), MMSYSERR_NOERROR);
    EXPECT_TRUE(log.waitFor(MM_MIXM_CONTROL_CHANGE, aux));

    SelectControl control;
    ASSERT_EQ(selectControl(changer, control), MMSYSERR_NOERROR);
    ASSERT_EQ(chooseItem(changer, kAux), MMSYSERR_NOERROR);
    EXPECT_TRUE(log.waitFor(MM_MIXM_CONTROL_CHANGE, control.id));

    // The handle's own changes are reported to it as well.
    const std::uint32_t cd = volumeId(watcher, kCdAudio);
    ASSERT_EQ(writeVolume(watcher, cd, {1}), MMSYSERR_NOERROR);
    EXPECT_TRUE(log.waitFor(MM_MIXM_CONTROL_CHANGE, cd));
    mixerClose(changer);
    mixerClose(watcher);
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

TEST_F(VirtualMixer, BadHandlesAndArgumentsAreRefused) {
    HMIXER mixer = nullptr;
    EXPECT_EQ(mixerOpen(nullptr, 0, nullptr, 0, CALLBACK_NULL), MMSYSERR_INVALPARAM);
    EXPECT_EQ(mixerOpen(&mixer, 1, nullptr, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(mixerOpen(&mixer, 0, nullptr, 0, CALLBACK_FUNCTION), MMSYSERR_INVALFLAG);
    EXPECT_EQ(mixer, nullptr);

    mixer = open();
    MIXERLINE line;
    line.cbStruct = 8;
    EXPECT_EQ(mixerGetLineInfo(mixer, &line, MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_INVALPARAM);
    line = MIXERLINE{};
    EXPECT_EQ(mixerGetLineInfo(mixer, &line, 42), MMSYSERR_INVALFLAG);
    line.dwSource = 4;
    EXPECT_EQ(mixerGetLineInfo(mixer, &line, MIXER_GETLINEINFOF_SOURCE), MIXERR_INVALLINE);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC;
    EXPECT_EQ(mixerGetLineInfo(mixer, &line, MIXER_GETLINEINFOF_COMPONENTTYPE), MMSYSERR_NOERROR);
    EXPECT_EQ(line.dwSource, kCdAudio);

    MIXERCONTROL control;
    MIXERLINECONTROLS controls;
    controls.pamxctrl = &control;
    controls.cControls = 1;
    controls.dwControlID = 0xDEAD;
    EXPECT_EQ(mixerGetLineControls(mixer, &controls, MIXER_GETLINECONTROLSF_ONEBYID),
              MIXERR_INVALCONTROL);
    controls.cbmxctrl = 12;
    EXPECT_EQ(mixerGetLineControls(mixer, &controls, MIXER_GETLINECONTROLSF_ONEBYID),
              MMSYSERR_INVALPARAM);
    // ALL must ask for exactly the line's controls.
    MIXERLINE recording;
    ASSERT_EQ(destination(mixer, recording), MMSYSERR_NOERROR);
    MIXERCONTROL two[2];
    MIXERLINECONTROLS all;
    all.dwLineID = recording.dwLineID;
    all.cControls = 2;
    all.pamxctrl = two;
    EXPECT_EQ(mixerGetLineControls(mixer, &all, MIXER_GETLINECONTROLSF_ALL), MMSYSERR_INVALPARAM);

    SelectControl select;
    ASSERT_EQ(selectControl(mixer, select), MMSYSERR_NOERROR);
    std::vector<std::int32_t> values;
    SelectControl wrongCount = select;
    wrongCount.items = 3;
    EXPECT_EQ(readItems(mixer, wrongCount, values), MMSYSERR_INVALPARAM);
    EXPECT_EQ(writeItems(mixer, wrongCount, {1, 0, 0}), MMSYSERR_INVALPARAM);
    MIXERCONTROLDETAILS details;
    details.dwControlID = select.id;
    details.cChannels = 1;
    details.cMultipleItems = select.items;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_BOOLEAN);
    EXPECT_EQ(mixerGetControlDetails(mixer, &details, MIXER_GETCONTROLDETAILSF_VALUE),
              MMSYSERR_INVALPARAM); // no buffer
    // A volume has no item texts.
    MIXERCONTROLDETAILS_LISTTEXT text;
    MIXERCONTROLDETAILS volume;
    volume.dwControlID = volumeId(mixer, kLineIn);
    volume.cChannels = 1;
    volume.cbDetails = sizeof text;
    volume.paDetails = &text;
    EXPECT_EQ(mixerGetControlDetails(mixer, &volume, MIXER_GETCONTROLDETAILSF_LISTTEXT),
              MMSYSERR_INVALPARAM);

    // A closed handle is refused by every call.
    ASSERT_EQ(mixerClose(mixer), MMSYSERR_NOERROR);
    EXPECT_EQ(mixerGetLineInfo(mixer, &line, MIXER_GETLINEINFOF_DESTINATION), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mixerGetLineControls(mixer, &all, MIXER_GETLINECONTROLSF_ALL), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mixerSetControlDetails(mixer, &details, MIXER_SETCONTROLDETAILSF_VALUE),
              MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mixerClose(mixer), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(mixerClose(nullptr), MMSYSERR_INVALHANDLE);
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

TEST_F(VirtualMixer, VirtualInputBringsTheVirtualMixer) {
    unsetenv("SONDREL_MIXER");
    for (const char* input : {"tone", "silence", "file:/tmp/some.wav"}) {
        setenv("SONDREL_AUDIO_INPUT", input, 1);
        MIXERCAPS caps;
        ASSERT_EQ(mixerGetDevCaps(0, &caps, sizeof caps), MMSYSERR_NOERROR) << input;
        EXPECT_STREQ(caps.szPname, "Sondrel Virtual Mixer") << input;
    }
}

TEST_F(VirtualMixer, NoMixerWhenTheChosenBackendHasNone) {
    setenv("SONDREL_MIXER", "alsa", 1);
    setenv("SONDREL_MIXER_DEVICE", "sondrel_no_such_device", 1);
    EXPECT_EQ(mixerGetNumDevs(), 0u);
    std::uint32_t id = 0;
    EXPECT_EQ(mixerGetID(WAVE_MAPPER, &id, MIXER_OBJECTF_WAVEIN), MMSYSERR_NODRIVER);
    HMIXER mixer = nullptr;
    EXPECT_EQ(mixerOpen(&mixer, 0, nullptr, 0, CALLBACK_NULL), MMSYSERR_NODRIVER);
    MIXERCAPS caps;
    EXPECT_EQ(mixerGetDevCaps(0, &caps, sizeof caps), MMSYSERR_NODRIVER);
}

TEST_F(VirtualMixer, HandlesOpenedWrittenAndClosedOnManyThreads) {
    constexpr int kWriters = 3;
    constexpr int kRounds = 40;
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kWriters; ++t) {
        threads.emplace_back([&failures, t] {
            NotificationLog log;
            HMIXER mixer = nullptr;
            if (mixerOpen(&mixer, 0, &NotificationLog::onMessage,
                          reinterpret_cast<std::uintptr_t>(&log), CALLBACK_FUNCTION) != 0) {
                ++failures;
                return;
            }
            MIXERCONTROL control;
            if (volumeControl(mixer, static_cast<std::uint32_t>(t) + 1, control) != 0) {
                ++failures;
            }
            for (int round = 0; round < kRounds; ++round) {
                const auto value = static_cast<std::uint32_t>(round * 100 + t);
                if (writeVolume(mixer, control.dwControlID, {value}) != 0 ||
                    chooseItem(mixer, static_cast<std::uint32_t>(round % 4)) != 0) {
                    ++failures;
                }
            }
            if (mixerClose(mixer) != 0) {
                ++failures;
            }
        });
    }
    // Meanwhile handles with callbacks come and go, closing while messages arrive.
    threads.emplace_back([&failures] {
        for (int round = 0; round < kRounds; ++round) {
            NotificationLog log;
            HMIXER mixer = nullptr;
            if (mixerOpen(&mixer, 0, &NotificationLog::onMessage,
                          reinterpret_cast<std::uintptr_t>(&log), CALLBACK_FUNCTION) != 0 ||
                mixerClose(mixer) != 0) {
                ++failures;
            }
        }
    });
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(failures.load(), 0);
    HMIXER mixer = open();
    std::vector<std::uint32_t> values;
    for (std::uint32_t t = 0; t < kWriters; ++t) {
        ASSERT_EQ(readVolume(mixer, volumeId(mixer, t + 1), 1, values), MMSYSERR_NOERROR);
        EXPECT_EQ(values[0], (kRounds - 1) * 100 + t);
    }
    EXPECT_GE(chosenItem(mixer), 0);
    mixerClose(mixer);
}

} // namespace
