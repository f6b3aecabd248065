// WAV takes past 4 GiB: the header patched at the end turns the file into
// RF64 exactly when its sizes pass 32 bits. The long files are sparse, so the
// tests write no gigabytes; sox reads a short file given the RF64 header.

#include "engine/WavHeader.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::uint64_t LittleEndian(const std::string& bytes, std::size_t at, std::size_t width) {
    std::uint64_t value = 0;
    for (std::size_t i = width; i-- > 0;) {
        value = value << 8 | static_cast<unsigned char>(bytes.at(at + i));
    }
    return value;
}

std::string HeaderOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string header(kTakeWavHeaderBytes, '\0');
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    return header;
}

struct LongTake {
    std::uint64_t pcmBytes; // whole frames in the file
    std::uint64_t cutBytes; // a partial frame after them
    bool rf64;
    const char* name;
};

class TakeWavLongFile : public ::testing::TestWithParam<LongTake> {};

TEST_P(TakeWavLongFile, PatchingWritesSizesThatFitOrTheRf64Form) {
    const LongTake take = GetParam();
    testsupport::TempFolder folder;
    const std::string path = folder.File("long.wav");
    ASSERT_TRUE(CreateWavFile(path));
    std::filesystem::resize_file(path, kTakeWavHeaderBytes + take.pcmBytes + take.cutBytes);
    ASSERT_TRUE(PatchWavSizes(path));

    EXPECT_EQ(std::filesystem::file_size(path), kTakeWavHeaderBytes + take.pcmBytes);
    const std::string header = HeaderOf(path);
    EXPECT_EQ(header.substr(8, 4), "WAVE");
    EXPECT_EQ(LittleEndian(header, 16, 4), 28u);
    EXPECT_EQ(header.substr(48, 4), "fmt ");
    EXPECT_EQ(header.substr(72, 4), "data");
    const std::uint64_t riffBytes = take.pcmBytes + kTakeWavHeaderBytes - 8;
    if (take.rf64) {
        EXPECT_EQ(header.substr(0, 4), "RF64");
        EXPECT_EQ(header.substr(12, 4), "ds64");
        EXPECT_EQ(LittleEndian(header, 4, 4), 0xFFFFFFFFu);
        EXPECT_EQ(LittleEndian(header, 76, 4), 0xFFFFFFFFu);
        EXPECT_EQ(LittleEndian(header, 20, 8), riffBytes);
        EXPECT_EQ(LittleEndian(header, 28, 8), take.pcmBytes);
        EXPECT_EQ(LittleEndian(header, 36, 8), take.pcmBytes / 4) << "sample frames";
        EXPECT_EQ(LittleEndian(header, 44, 4), 0u) << "no table";
    } else {
        EXPECT_EQ(header.substr(0, 4), "RIFF");
        EXPECT_EQ(header.substr(12, 4), "JUNK");
        EXPECT_EQ(LittleEndian(header, 4, 4), riffBytes);
        EXPECT_EQ(LittleEndian(header, 76, 4), take.pcmBytes);
    }
}

constexpr std::uint64_t k4GiB = std::uint64_t{1} << 32;
// The largest take whose RIFF size (sound + 72) still fits: whole frames.
constexpr std::uint64_t kLargestRiffPcm = (k4GiB - 1 - 72) / 4 * 4;

INSTANTIATE_TEST_SUITE_P(Sizes, TakeWavLongFile,
                         ::testing::Values(LongTake{kLargestRiffPcm, 3, false, "LargestRiff"},
                                           LongTake{kLargestRiffPcm + 4, 0, true, "OneFrameMore"},
                                           LongTake{k4GiB + 37632 * 5, 2, true, "Past4GiB"},
                                           LongTake{3 * k4GiB, 0, true, "Of12GiB"}),
                         [](const auto& sizes) { return std::string(sizes.param.name); });

TEST(TakeWavRf64, SoxReadsTheSoundOfAnRf64Take) {
    if (std::system("command -v sox >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "sox is not installed";
    }
    testsupport::TempFolder folder;
    std::string pcm(4 * 44100, '\0');
    for (std::size_t i = 0; i < pcm.size(); ++i) {
        pcm[i] = static_cast<char>(i * 7 % 251);
    }
    const auto header = MakeTakeWavHeader(pcm.size(), true);
    const std::string path =
        folder.Write("rf64.wav", std::string(header.begin(), header.end()) + pcm);
    const std::string raw = folder.File("rf64.raw");
    const std::string command = "sox -V1 '" + path + "' -t raw '" + raw + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(folder.Read("rf64.raw"), pcm);
}

} // namespace
