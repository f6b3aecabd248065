// The recording sources against the virtual mixer of the virtual input:
// listing, selection, and the slider bound to the chosen source's volume.

#include "lang/LangText.h"
#include "mixer/CVolumeInXXX.h"
#include "mixer/RecordSources.h"
#include "mixer/SelectRecordSource.h"
#include "tests/mixer/ListSelector.h"
#include "tests/mixer/RecordingSlider.h"
#include "tests/platform/mixer/MixerTestKit.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace mixertest;

namespace {

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

TEST_F(RecordSourcesVirtual, ApplyingASourceSelectsItInTheMixerAndBindsTheSlider) {
    m_sources.EnumRecordSources();
    m_selector.Select(2);
    m_sources.ApplyRecordSource();
    EXPECT_EQ(ChosenItem(), static_cast<int>(kCdAudio));
    EXPECT_EQ(m_sources.CurrentSourceLine(), kCdAudio);
    CVolumeInXXX cd(kCdAudio);
    EXPECT_EQ(m_slider.Minimum(), cd.GetMinVolume());
    EXPECT_EQ(m_slider.Maximum(), cd.GetMaxVolume());
    EXPECT_EQ(m_slider.GetPos(), cd.GetVolume());

    m_selector.Select(1);
    m_sources.ApplyRecordSource();
    EXPECT_EQ(ChosenItem(), static_cast<int>(kLineIn));
}

TEST_F(RecordSourcesVirtual, AVolumeChangedElsewhereReachesTheSliderWhenItIsBound) {
    m_sources.EnumRecordSources();
    m_selector.Select(1);
    const std::int32_t maximum = CVolumeInXXX(kLineIn).GetMaxVolume();
    CVolumeInXXX(kLineIn).SetVolume(static_cast<std::uint32_t>(maximum / 3));
    m_sources.ApplyRecordSource();
    EXPECT_EQ(m_slider.GetPos(), maximum / 3);
}

TEST_F(RecordSourcesVirtual, ReleasingTheSliderWritesItsPositionOnceToEveryChannel) {
    m_sources.EnumRecordSources();
    m_selector.Select(1);
    m_sources.ApplyRecordSource();
    const std::int32_t before = CVolumeInXXX(kLineIn).GetVolume();
    const std::int32_t target = m_slider.Maximum() / 4;
    ASSERT_NE(before, target);
    m_slider.Drag(target);
    EXPECT_EQ(CVolumeInXXX(kLineIn).GetVolume(), before) << "dragging alone writes nothing";
    m_sources.OnVolumeReleased();
    EXPECT_EQ(CVolumeInXXX(kLineIn).GetVolume(), target);
    OpenedMixers mixers;
    HMIXER mixer = mixers.open();
    MIXERCONTROL control;
    ASSERT_EQ(volumeControl(mixer, kLineIn, control), MMSYSERR_NOERROR);
    std::vector<std::uint32_t> channels;
    ASSERT_EQ(readVolume(mixer, control.dwControlID, 2, channels), MMSYSERR_NOERROR);
    EXPECT_EQ(channels, (std::vector<std::uint32_t>{static_cast<std::uint32_t>(target),
                                                    static_cast<std::uint32_t>(target)}));
}

TEST_F(RecordSourcesVirtual, APositionOutsideTheRangeWritesNothing) {
    m_sources.EnumRecordSources();
    m_selector.Select(1);
    m_sources.ApplyRecordSource();
    const std::int32_t before = CVolumeInXXX(kLineIn).GetVolume();
    m_slider.Drag(m_slider.Maximum() + 1);
    m_sources.OnVolumeReleased();
    m_slider.Drag(-1);
    m_sources.OnVolumeReleased();
    EXPECT_EQ(CVolumeInXXX(kLineIn).GetVolume(), before);
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
