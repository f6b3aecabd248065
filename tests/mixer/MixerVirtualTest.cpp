// The volume object and the recording sources over the virtual mixer, as the window uses
// them: values across objects, callbacks, objects that come and go while the volume changes,
// the source list, one entry, an item beyond the control, no input.
#include "lang/LangText.h"
#include "mixer/CVolumeInXXX.h"
#include "mixer/RecordSources.h"
#include "mixer/SelectRecordSource.h"
#include "platform/mixer/MixerApi.h"
#include "tests/mixer/ListSelector.h"
#include "tests/mixer/RecordingSlider.h"
#include "tests/mixer/VolumeChangeRecorder.h"
#include "tests/platform/mixer/MixerTestKit.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <unistd.h>

using namespace mixertest;

namespace {

class VolumeInVirtual : public ::testing::Test {
protected:
    // Reads a source's channels through the mixer directly.
    std::vector<std::uint32_t> channels(std::uint32_t source, std::uint32_t count) {
        HMIXER mixer = nullptr;
        std::vector<std::uint32_t> values;
        MIXERCONTROL control;
        EXPECT_EQ(mixerOpen(&mixer, 0, nullptr, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
        EXPECT_EQ(volumeControl(mixer, source, control), MMSYSERR_NOERROR);
        EXPECT_EQ(readVolume(mixer, control.dwControlID, count, values), MMSYSERR_NOERROR);
        mixerClose(mixer);
        return values;
    }
    void expectInert(CVolumeInXXX& volume) {
        EXPECT_FALSE(volume.IsVolumeAvailable());
        EXPECT_EQ(volume.GetVolumeStepCount(), -1);
        EXPECT_EQ(volume.GetMinVolume(), -1);
        EXPECT_EQ(volume.GetMaxVolume(), -1);
        EXPECT_EQ(volume.GetVolume(), -1);
        volume.SetVolume(5);
        volume.SelectAsRecordingSource();
        EXPECT_EQ(g_activeVolume.load(), nullptr);
    }

    VirtualMixerSandbox m_sandbox;
};

TEST_F(VolumeInVirtual, ValueSetThroughOneObjectIsReadByTheNext) {
    // As the slider does it: one object per operation.
    std::make_unique<CVolumeInXXX>(kCdAudio)->SetVolume(1234);
    EXPECT_EQ(CVolumeInXXX(kCdAudio).GetVolume(), 1234);
    EXPECT_EQ(channels(kCdAudio, 2), (std::vector<std::uint32_t>{1234, 1234}));
    EXPECT_EQ(CVolumeInXXX(kLineIn).GetVolume(), 49152); // the others are untouched
    CVolumeInXXX(kMicrophone).SetVolume(0);
    EXPECT_EQ(CVolumeInXXX(kMicrophone).GetVolume(), 0);
    CVolumeInXXX(kMicrophone).SetVolume(65535);
    EXPECT_EQ(CVolumeInXXX(kMicrophone).GetVolume(), 65535);
    // Values beyond the bounds write nothing.
    CVolumeInXXX(kMicrophone).SetVolume(65536);
    CVolumeInXXX(kMicrophone).SetVolume(0xFFFFFFFFu);
    EXPECT_EQ(CVolumeInXXX(kMicrophone).GetVolume(), 65535);
}

TEST_F(VolumeInVirtual, WithoutAMixerEverythingIsInert) {
    setenv("SONDREL_MIXER", "alsa", 1);
    setenv("SONDREL_MIXER_DEVICE", "sondrel_no_such_device", 1);
    CVolumeInXXX volume(kMicrophone);
    expectInert(volume);
    EXPECT_EQ(volume.SetChangeCallback(&VolumeChangeRecorder::onChange, 0),
              &VolumeChangeRecorder::onChange);
}

TEST_F(VolumeInVirtual, CallbackHearsOnlyItsOwnSourceChangedElsewhere) {
    VolumeChangeRecorder recorder;
    CVolumeInXXX volume(kAux);
    EXPECT_EQ(volume.SetChangeCallback(&VolumeChangeRecorder::onChange, recorder.user()),
              &VolumeChangeRecorder::onChange);
    HMIXER mixer = nullptr;
    MIXERCONTROL other;
    MIXERCONTROL own;
    ASSERT_EQ(mixerOpen(&mixer, 0, nullptr, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    ASSERT_EQ(volumeControl(mixer, kLineIn, other), MMSYSERR_NOERROR);
    ASSERT_EQ(volumeControl(mixer, kAux, own), MMSYSERR_NOERROR);
    // Messages of one handle arrive in order: the first value heard must be the Aux one.
    ASSERT_EQ(writeVolume(mixer, other.dwControlID, {111}), MMSYSERR_NOERROR);
    ASSERT_EQ(writeVolume(mixer, own.dwControlID, {222}), MMSYSERR_NOERROR);
    mixerClose(mixer);
    EXPECT_EQ(recorder.first(), 222);
}

TEST_F(VolumeInVirtual, OnlyTheLastObjectIsActiveAndAnyDestructionEndsIt) {
    auto older = std::make_unique<CVolumeInXXX>(kMicrophone);
    EXPECT_EQ(g_activeVolume.load(), older.get());
    auto newer = std::make_unique<CVolumeInXXX>(kLineIn);
    EXPECT_EQ(g_activeVolume.load(), newer.get());
    older.reset();
    EXPECT_EQ(g_activeVolume.load(), nullptr);
    // The newer object still works, it is only no longer told of changes.
    EXPECT_EQ(newer->GetVolume(), 49152);
    newer.reset();
    EXPECT_EQ(g_activeVolume.load(), nullptr);
    // A failed construction does not take over.
    CVolumeInXXX kept(kAux);
    CVolumeInXXX failed(9);
    EXPECT_EQ(g_activeVolume.load(), nullptr);
}

TEST_F(VolumeInVirtual, ObjectsComeAndGoWhileTheVolumeChanges) {
    constexpr int kRounds = 30;
    std::atomic<bool> writing{true};
    std::thread writer([&writing] {
        HMIXER mixer = nullptr;
        MIXERCONTROL control;
        if (mixerOpen(&mixer, 0, nullptr, 0, CALLBACK_NULL) != MMSYSERR_NOERROR ||
            volumeControl(mixer, kAux, control) != MMSYSERR_NOERROR) {
            return;
        }
        for (std::uint32_t value = 0; writing.load(); value = (value + 1) % 1000) {
            writeVolume(mixer, control.dwControlID, {value});
        }
        writeVolume(mixer, control.dwControlID, {4321});
        mixerClose(mixer);
    });
    VolumeChangeRecorder recorder;
    for (int round = 0; round < kRounds; ++round) {
        CVolumeInXXX volume(kAux);
        volume.SetChangeCallback(&VolumeChangeRecorder::onChange, recorder.user());
        EXPECT_GE(volume.GetVolume(), 0);
        volume.SetVolume(static_cast<std::uint32_t>(round));
    }
    writing = false;
    writer.join();
    EXPECT_EQ(CVolumeInXXX(kAux).GetVolume(), 4321);
}

class RecordSourcesVirtual : public ::testing::Test {
protected:
    void SetUp() override { setenv("SONDREL_AUDIO_INPUT", "tone", 1); }

    // The item the mixer records from, read past the code under test.
    static int ChosenItem() {
        OpenedMixers mixers;
        return chosenItem(mixers.open());
    }

    VirtualMixerSandbox m_sandbox;
    testsupport::ScriptedMessageBox m_messages;
    testsupport::ScopedMessageBoxHost m_host{m_messages};
    ListSelector m_selector;
    RecordingSlider m_slider;
    RecordSources m_sources{m_selector, m_slider};
};

TEST_F(RecordSourcesVirtual, TheRecordableLinesAreListedInOrderWithTheMicrophoneSelected) {
    m_sources.EnumRecordSources();
    ASSERT_EQ(m_sources.SourceCount(), 3);
    EXPECT_EQ(m_selector.Items(),
              (std::vector<std::string>{"Microphone", "Line   In", "CD Audio"}));
    EXPECT_EQ(m_selector.CurrentIndex(), 0);
    EXPECT_EQ(m_sources.DefaultSource(), 0);
    EXPECT_EQ(m_sources.Source(0).componentType, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE);
    EXPECT_EQ(m_sources.Source(0).channels, 1u);
    EXPECT_EQ(m_sources.Source(1).componentType, MIXERLINE_COMPONENTTYPE_SRC_LINE);
    EXPECT_EQ(m_sources.Source(1).channels, 2u);
    EXPECT_EQ(m_sources.Source(2).componentType, MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(m_sources.Source(i).listIndex, static_cast<std::uint32_t>(i));
        EXPECT_EQ(m_sources.Source(i).sourceIndex, static_cast<std::uint32_t>(i));
    }
    // "Aux" is an analog line that is not listed.
    EXPECT_EQ(m_messages.ShownCount(), 0u);
    EXPECT_EQ(m_sources.CurrentSourceLine(), kMicrophone);
}

TEST_F(RecordSourcesVirtual, WithASingleEntryApplyingTouchesNeitherMixerNorSlider) {
    ListSelector single;
    single.Add("Microphone");
    single.Select(0);
    RecordSources sources(single, m_slider);
    ASSERT_EQ(SelectRecordSource(kLineIn), true);
    sources.ApplyRecordSource();
    EXPECT_EQ(ChosenItem(), static_cast<int>(kLineIn));
    EXPECT_EQ(m_slider.Changes(), 0);
}

TEST_F(RecordSourcesVirtual, AnItemBeyondTheControlFallsBackToLineIn) {
    ASSERT_TRUE(SelectRecordSource(kCdAudio));
    EXPECT_TRUE(SelectRecordSource(99));
    EXPECT_EQ(ChosenItem(), static_cast<int>(kLineIn));
}

TEST_F(RecordSourcesVirtual, WithoutAWaveInputMessage1IsShownAndTheListIsEmpty) {
    setenv("SONDREL_AUDIO_INPUT", "alsa:nonexistent", 1);
    m_sources.EnumRecordSources();
    EXPECT_EQ(m_sources.SourceCount(), 0);
    EXPECT_EQ(m_selector.Count(), 0);
    const auto shown = m_messages.ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].style, 64u);
    EXPECT_EQ(shown[0].text, lang::GetLangString("Message", 1));
    // The slider, never bound, acts on no source.
    EXPECT_EQ(m_sources.CurrentSourceLine(), RecordSources::kNoSourceLine);
    m_slider.Drag(1);
    m_sources.OnVolumeReleased();
    m_sources.BindVolumeSlider();
    EXPECT_EQ(m_slider.Minimum(), -1);
    EXPECT_EQ(m_slider.Maximum(), -1);
    EXPECT_EQ(m_slider.GetPos(), -1);
}

} // namespace
