// The WAV file of a take: the header written at the start, the sizes patched
// at the end.

#include "engine/WavHeader.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kPlaceholderHeader =
    std::string("RIFF\x2C\xDE\x04\x0E"
                "WAVEJUNK\x1C\x00\x00\x00",
                20) +
    std::string(28, '\0') +
    std::string("fmt \x10\x00\x00\x00\x01\x00\x02\x00"
                "\x44\xAC\x00\x00\x10\xB1\x02\x00\x04\x00\x10\x00"
                "data\x00\xDE\x04\x0E",
                32);

TEST(TakeWavFile, CreatingEmptiesAnExistingFile) {
    testsupport::TempFolder folder;
    folder.Write("a.wav", std::string(1000, 'x'));
    ASSERT_TRUE(CreateWavFile(folder.File("a.wav")));
    EXPECT_EQ(folder.Read("a.wav"), kPlaceholderHeader);
}

TEST(TakeWavFile, PatchingWritesTheLengthsOfTheFile) {
    testsupport::TempFolder folder;
    const std::string path = folder.File("a.wav");
    ASSERT_TRUE(CreateWavFile(path));
    folder.Write("a.wav", kPlaceholderHeader + std::string(37632 * 2, '\x01'));
    ASSERT_TRUE(PatchWavSizes(path));
    const std::string file = folder.Read("a.wav");
    ASSERT_EQ(file.size(), 80u + 75264u);
    // 75,344 - 8 = 75,336 = 0x00012648; 75,344 - 80 = 75,264 = 0x00012600
    EXPECT_EQ(file.substr(4, 4), std::string("\x48\x26\x01\x00", 4));
    EXPECT_EQ(file.substr(76, 4), std::string("\x00\x26\x01\x00", 4));
    EXPECT_EQ(file.substr(80), std::string(75264, '\x01'));
}

TEST(TakeWavFile, AFileNoLongerThanTheHeaderIsLeftAsItIs) {
    testsupport::TempFolder folder;
    folder.Write("short.wav", "RIFF");
    EXPECT_TRUE(PatchWavSizes(folder.File("short.wav")));
    EXPECT_EQ(folder.Read("short.wav"), "RIFF");
    ASSERT_TRUE(CreateWavFile(folder.File("a.wav")));
    EXPECT_TRUE(PatchWavSizes(folder.File("a.wav")));
    EXPECT_EQ(folder.Read("a.wav"), kPlaceholderHeader);
}

} // namespace
