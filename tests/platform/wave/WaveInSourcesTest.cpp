// Wave input: the file and silence inputs, and everything that must fail with
// an error code rather than hang or crash.

#include "platform/wave/PcmFormat.h"
#include "platform/wave/WaveIn.h"
#include "platform/wave/WaveSettings.h"
#include "tests/platform/wave/WaveTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

using namespace platform::wave;

using namespace wavetest;

namespace {

TEST(WaveInFile, TheFileLoopsWithoutAGap) {
    TempDir dir;
    const auto path = dir.path() / "loop.wav";
    constexpr std::uint32_t kFrames = 3000; // shorter than one buffer of 4,704 bytes x 3
    writeWavFile(path, CdAudioFormat(), rampFrames(0, kFrames));
    const std::string setting = "file:" + path.string();
    ScopedEnv input("SONDREL_AUDIO_INPUT", setting.c_str());

    CaptureClient client(4704);
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.queueAndStart(), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForBuffers(10)); // 11,760 frames: the file almost four times
    client.resetAndClose();

    const std::vector<char> pcm = client.captured();
    ASSERT_GE(pcm.size() / 4, 11760u);
    for (std::size_t frame = 0; frame < pcm.size() / 4; ++frame) {
        ASSERT_EQ(rampValueAt(pcm, frame), static_cast<long>(frame % kFrames)) << "frame " << frame;
    }
}

TEST(WaveInFile, AFileOfAnotherFormatNoWavOrNoAudioIsRefused) {
    TempDir dir;
    WAVEFORMATEX mono = CdAudioFormat();
    mono.nChannels = 1;
    mono.nBlockAlign = 2;
    mono.nAvgBytesPerSec = 88200;
    const auto monoFile = dir.path() / "mono.wav";
    writeWavFile(monoFile, mono, std::vector<char>(8820, '\0'));
    const auto text = dir.path() / "text.wav";
    {
        std::ofstream out(text);
        out << "this is not a sound file at all, but long enough to look like one";
    }
    const auto empty = dir.path() / "empty.wav";
    writeWavFile(empty, CdAudioFormat(), {});
    for (const auto& path : {monoFile, text, empty}) {
        const std::string setting = "file:" + path.string();
        ScopedEnv input("SONDREL_AUDIO_INPUT", setting.c_str());
        CaptureClient client;
        EXPECT_EQ(client.open(CdAudioFormat()), WAVERR_BADFORMAT) << path;
    }
}

TEST(WaveInSilence, SilenceIsZerosInWholeBuffers) {
    ScopedEnv input("SONDREL_AUDIO_INPUT", "silence");
    CaptureClient client(2352);
    ASSERT_EQ(client.open(CdAudioFormat()), MMSYSERR_NOERROR);
    ASSERT_EQ(client.queueAndStart(), MMSYSERR_NOERROR);
    ASSERT_TRUE(client.waitForBuffers(4));
    client.resetAndClose();
    const std::vector<char> pcm = client.captured();
    ASSERT_GE(pcm.size(), 4u * 2352);
    EXPECT_TRUE(std::all_of(pcm.begin(), pcm.end(), [](char b) { return b == 0; }));
}

TEST(WaveInOpen, FormatsOtherThanCdAudioAreRefusedByTheVirtualInputs) {
    ScopedEnv input("SONDREL_AUDIO_INPUT", "tone");
    WAVEFORMATEX mono = CdAudioFormat();
    mono.nChannels = 1;
    mono.nBlockAlign = 2;
    mono.nAvgBytesPerSec = 88200;
    WAVEFORMATEX float32 = CdAudioFormat();
    float32.wFormatTag = 3;
    WAVEFORMATEX inconsistent = CdAudioFormat();
    inconsistent.nBlockAlign = 3;
    WAVEFORMATEX rate48k = CdAudioFormat();
    rate48k.nSamplesPerSec = 48000;
    rate48k.nAvgBytesPerSec = 192000;
    for (const WAVEFORMATEX& format : {mono, float32, inconsistent, rate48k}) {
        HWAVEIN handle = nullptr;
        EXPECT_EQ(waveInOpen(&handle, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), WAVERR_BADFORMAT);
    }
}

TEST(WaveInOpen, InputsThatCannotBeOpenedFailAtOnceWithTheirReason) {
    const std::pair<const char*, MMRESULT> cases[] = {
        {"alsa:sondrel_no_such_device", MMSYSERR_BADDEVICEID},
        {"file:/nonexistent-folder/none.wav", MMSYSERR_BADDEVICEID},
        {"null", MMSYSERR_NODRIVER}, // an output; an input cannot be one
        {"file:", MMSYSERR_NODRIVER},
    };
    const WAVEFORMATEX format = CdAudioFormat();
    for (const auto& [setting, expected] : cases) {
        ScopedEnv input("SONDREL_AUDIO_INPUT", setting);
        HWAVEIN handle = nullptr;
        EXPECT_EQ(waveInOpen(&handle, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), expected)
            << setting;
    }
}

TEST(WaveInOpen, BadArgumentsAreRefused) {
    ScopedEnv input("SONDREL_AUDIO_INPUT", "tone");
    const WAVEFORMATEX format = CdAudioFormat();
    HWAVEIN handle = nullptr;
    EXPECT_EQ(waveInOpen(nullptr, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_INVALPARAM);
    EXPECT_EQ(waveInOpen(&handle, WAVE_MAPPER, nullptr, 0, 0, CALLBACK_NULL), MMSYSERR_INVALPARAM);
    EXPECT_EQ(waveInOpen(&handle, 1, &format, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(waveInOpen(&handle, WAVE_MAPPER, &format, 0, 0, CALLBACK_FUNCTION),
              MMSYSERR_INVALPARAM);
    EXPECT_EQ(waveInOpen(&handle, WAVE_MAPPER, &format, 0, 0, 0x00050000), MMSYSERR_INVALFLAG);
}

TEST(WaveInHeaders, HeadersFollowThePrepareQueueUnprepareRules) {
    ScopedEnv input("SONDREL_AUDIO_INPUT", "silence");
    const WAVEFORMATEX format = CdAudioFormat();
    HWAVEIN handle = nullptr;
    ASSERT_EQ(waveInOpen(&handle, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    std::vector<char> data(2352);
    WAVEHDR header;
    header.lpData = data.data();
    header.dwBufferLength = 2352;

    EXPECT_EQ(waveInAddBuffer(handle, &header, sizeof(WAVEHDR)), WAVERR_UNPREPARED);
    EXPECT_EQ(waveInPrepareHeader(handle, &header, sizeof(WAVEHDR) - 1), MMSYSERR_INVALPARAM);
    ASSERT_EQ(waveInPrepareHeader(handle, &header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags & WHDR_PREPARED, WHDR_PREPARED);
    ASSERT_EQ(waveInAddBuffer(handle, &header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags & WHDR_INQUEUE, WHDR_INQUEUE);
    EXPECT_EQ(waveInAddBuffer(handle, &header, sizeof(WAVEHDR)), WAVERR_STILLPLAYING);
    EXPECT_EQ(waveInUnprepareHeader(handle, &header, sizeof(WAVEHDR)), WAVERR_STILLPLAYING);
    EXPECT_EQ(waveInClose(handle), WAVERR_STILLPLAYING);

    // Not started: reset hands the buffer back empty.
    ASSERT_EQ(waveInReset(handle), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags & (WHDR_DONE | WHDR_INQUEUE), WHDR_DONE);
    EXPECT_EQ(header.dwBytesRecorded, 0u);
    EXPECT_EQ(waveInUnprepareHeader(handle, &header, sizeof(WAVEHDR)), MMSYSERR_NOERROR);
    EXPECT_EQ(header.dwFlags & WHDR_PREPARED, 0u);
    EXPECT_EQ(waveInClose(handle), MMSYSERR_NOERROR);
    EXPECT_EQ(waveInPrepareHeader(handle, &header, sizeof(WAVEHDR)), MMSYSERR_INVALHANDLE);
}

} // namespace
