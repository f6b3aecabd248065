#include "mixer/CVolumeInXXX.h"
#include "platform/mixer/MixerApi.h"
#include "tests/mixer/VolumeChangeRecorder.h"
#include "tests/platform/mixer/MixerTestKit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
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

TEST_F(VolumeInVirtual, BoundsAndCurrentValueOfASource) {
    CVolumeInXXX volume(kLineIn);
    IVolume& access = volume;
    EXPECT_TRUE(access.IsVolumeAvailable());
    EXPECT_EQ(access.GetMinVolume(), 0);
    EXPECT_EQ(access.GetMaxVolume(), 65535);
    EXPECT_EQ(access.GetVolumeStepCount(), 65535);
    EXPECT_EQ(access.GetVolume(), 49152);
    access.Reserved();
    EXPECT_EQ(g_activeVolume.load(), &volume);
}

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

TEST_F(VolumeInVirtual, GetVolumeReadsTheFirstChannel) {
    HMIXER mixer = nullptr;
    MIXERCONTROL control;
    ASSERT_EQ(mixerOpen(&mixer, 0, nullptr, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    ASSERT_EQ(volumeControl(mixer, kLineIn, control), MMSYSERR_NOERROR);
    ASSERT_EQ(writeVolume(mixer, control.dwControlID, {10, 20000}), MMSYSERR_NOERROR);
    mixerClose(mixer);
    EXPECT_EQ(CVolumeInXXX(kLineIn).GetVolume(), 10);
}

TEST_F(VolumeInVirtual, SourceIndexBeyondTheLineIsInert) {
    CVolumeInXXX beyond(4);
    expectInert(beyond);
    CVolumeInXXX far(0xFFFFFFFFu);
    expectInert(far);
    EXPECT_EQ(CVolumeInXXX(kAux).GetVolume(), 49152);
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

} // namespace
