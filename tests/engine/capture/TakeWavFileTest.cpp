// The WAV file of a take: the header written at the start, the sizes patched
// at the end.

#include "engine/WavHeader.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kPlaceholderHeader("RIFF\x2C\xDE\x04\x0E"
                                     "WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00"
                                     "\x44\xAC\x00\x00\x10\xB1\x02\x00\x04\x00\x10\x00"
                                     "data\x00\xDE\x04\x0E",
                                     44);

TEST(TakeWavFile, AFileOf44BytesOrLessIsLeftAsItIs) {
    testsupport::TempFolder folder;
    folder.Write("short.wav", "RIFF");
    EXPECT_TRUE(PatchWavSizes(folder.File("short.wav")));
    EXPECT_EQ(folder.Read("short.wav"), "RIFF");
    ASSERT_TRUE(CreateWavFile(folder.File("a.wav")));
    EXPECT_TRUE(PatchWavSizes(folder.File("a.wav")));
    EXPECT_EQ(folder.Read("a.wav"), kPlaceholderHeader);
}

} // namespace
