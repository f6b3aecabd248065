// The byte ring of the wave-in service and the WAV header reader and writer.

#include "platform/wave/ByteRing.h"
#include "platform/wave/PcmFormat.h"
#include "tests/platform/wave/WaveTestSupport.h"
#include "util/WavHeader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <numeric>

using namespace platform::wave;

using namespace wavetest;

namespace {

TEST(ByteRing, KeepsOrderAcrossTheWrapAndRefusesWhatDoesNotFit) {
    ByteRing ring(10);
    std::vector<char> in(7);
    std::iota(in.begin(), in.end(), 1);
    ASSERT_TRUE(ring.Write(in));
    EXPECT_FALSE(ring.Write(in)); // 7 + 7 > 10: nothing stored
    EXPECT_EQ(ring.Size(), 7u);
    std::vector<char> out(5);
    ASSERT_EQ(ring.Read(out), 5u);
    EXPECT_EQ(out, std::vector<char>({1, 2, 3, 4, 5}));
    ASSERT_TRUE(ring.Write(in)); // wraps
    std::vector<char> all(20);
    ASSERT_EQ(ring.Read(all), 9u);
    EXPECT_EQ(std::vector<char>(all.begin(), all.begin() + 9),
              std::vector<char>({6, 7, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(ring.Empty());
    ASSERT_TRUE(ring.Write(in));
    ring.Clear();
    EXPECT_EQ(ring.Read(all), 0u);
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::optional<util::WavLayout> layoutOf(const std::filesystem::path& path) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    return file ? util::ReadWavLayout(file.get()) : std::nullopt;
}

TEST(WavHeader, AWrittenHeaderReadsBack) {
    TempDir dir;
    const auto path = dir.path() / "a.wav";
    writeWavFile(path, CdAudioFormat(), rampFrames(0, 100));
    const auto layout = layoutOf(path);
    ASSERT_TRUE(layout.has_value());
    EXPECT_TRUE(IsSameFormat(FromWavFormat(layout->format), CdAudioFormat()));
    EXPECT_EQ(layout->dataOffset, 44);
    EXPECT_EQ(layout->dataBytes, 400u);
}

TEST(WavHeader, ExtraChunksAreSkippedAndAShortFileIsCut) {
    TempDir dir;
    const auto path = dir.path() / "b.wav";
    const auto header =
        util::MakeWavHeader(util::kCdAudioWavFormat, 1000); // claims more than follows
    {
        std::ofstream out(path, std::ios::binary);
        out.write(header.data(), 36);
        out.write("LIST\x03\0\0\0abc\0", 12); // odd length, padded
        out.write(header.data() + 36, 8);
        const std::vector<char> pcm = rampFrames(0, 10);
        out.write(pcm.data(), static_cast<std::streamsize>(pcm.size()));
    }
    const auto layout = layoutOf(path);
    ASSERT_TRUE(layout.has_value());
    EXPECT_EQ(layout->dataOffset, 56);
    EXPECT_EQ(layout->dataBytes, 40u);
}

TEST(WavHeader, ADataChunkBeforeTheFormatIsNoWav) {
    TempDir dir;
    const auto path = dir.path() / "c.wav";
    {
        std::ofstream out(path, std::ios::binary);
        out.write("RIFF\x10\0\0\0WAVEdata\0\0\0\0", 20);
    }
    EXPECT_FALSE(layoutOf(path).has_value());
}

} // namespace
