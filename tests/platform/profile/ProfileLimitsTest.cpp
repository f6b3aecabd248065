// Profile reading at its limits: the 260-byte buffer, multi-byte characters at
// the cut, NUL bytes, binary garbage and paths that are not regular files.
#include "platform/profile/ProfileString.h"
#include "platform/profile/ProfileText.h"
#include "platform/profile/Utf8Truncate.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <sys/stat.h>

namespace {

using platform::GetPrivateProfileString;
using platform::kProfileBufferBytes;

constexpr std::size_t kMaxValueBytes = kProfileBufferBytes - 1; // 259

class ProfileLimitsTest : public ::testing::Test {
protected:
    std::string ReadValue(const std::string& value) {
        const std::string path = m_folder.Write("long.ini", "[s]\nk=" + value + "\nnext=ok\n");
        return GetPrivateProfileString("s", "k", "<default>", path);
    }

    testsupport::TempFolder m_folder;
};

TEST_F(ProfileLimitsTest, ValueOfExactly259BytesIsKept) {
    const std::string value(kMaxValueBytes, 'a');
    EXPECT_EQ(ReadValue(value), value);
}

TEST_F(ProfileLimitsTest, LongerValueIsCutTo259Bytes) {
    const std::string value(1000, 'b');
    EXPECT_EQ(ReadValue(value), std::string(kMaxValueBytes, 'b'));
}

TEST_F(ProfileLimitsTest, TwoByteCharacterStraddlingTheLimitIsDropped) {
    // "é" takes bytes 258 and 259 (counting from 0): byte 259 no longer fits.
    const std::string value = std::string(258, 'a') + "\xC3\xA9" + "zzz";
    EXPECT_EQ(ReadValue(value), std::string(258, 'a'));
}

TEST_F(ProfileLimitsTest, ThreeByteCharacterStraddlingTheLimitIsDropped) {
    for (std::size_t before = 257; before <= 258; ++before) {
        const std::string value = std::string(before, 'a') + "\xE9\x9F\xB3" + "tail"; // 音
        EXPECT_EQ(ReadValue(value), std::string(before, 'a')) << before;
    }
}

TEST_F(ProfileLimitsTest, FourByteCharacterStraddlingTheLimitIsDropped) {
    for (std::size_t before = 256; before <= 258; ++before) {
        const std::string value = std::string(before, 'a') + "\xF0\x9F\x8E\xB5" + "x"; // 🎵
        EXPECT_EQ(ReadValue(value), std::string(before, 'a')) << before;
    }
}

TEST_F(ProfileLimitsTest, CharacterEndingExactlyAtTheLimitIsKept) {
    std::string value = std::string(256, 'a') + "\xE9\x9F\xB3"; // ends at byte 259
    EXPECT_EQ(ReadValue(value + "more"), value);
    // 86 three-byte characters are 258 bytes; the 87th does not fit.
    std::string chinese;
    for (int i = 0; i < 90; ++i) {
        chinese += "\xE9\x9F\xB3";
    }
    EXPECT_EQ(ReadValue(chinese), chinese.substr(0, 258));
}

TEST_F(ProfileLimitsTest, CutIsMadeAfterQuotesAreRemoved) {
    const std::string inner(kMaxValueBytes, 'q');
    EXPECT_EQ(ReadValue("\"" + inner + "\""), inner);
}

TEST_F(ProfileLimitsTest, LongDefaultIsCutLikeAValue) {
    const std::string longDefault = std::string(258, 'd') + "\xC3\xA9";
    EXPECT_EQ(GetPrivateProfileString("s", "k", longDefault, m_folder.Path() + "none.ini"),
              std::string(258, 'd'));
}

TEST_F(ProfileLimitsTest, CutLeavesBytesThatAreNotUtf8Alone) {
    // Latin-1 text: only a lead byte left dangling at the cut goes.
    const std::string latin1(300, '\xE9');
    EXPECT_EQ(platform::TruncateUtf8(latin1, kMaxValueBytes).size(), kMaxValueBytes - 1);
    const std::string continuation(300, '\x80');
    EXPECT_EQ(platform::TruncateUtf8(continuation, kMaxValueBytes).size(), kMaxValueBytes);
    EXPECT_EQ(platform::TruncateUtf8("", 0), "");
    EXPECT_EQ(platform::TruncateUtf8("\xE9\x9F\xB3", 2), "");
}

TEST_F(ProfileLimitsTest, NulByteEndsItsLineOnly) {
    const std::string text =
        std::string("[s]\nk=before") + '\0' + "after\nnext=read\n" + '\0' + "\n[t]\nx=1\n";
    const std::string path = m_folder.Write("nul.ini", text);
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", path), "before");
    EXPECT_EQ(GetPrivateProfileString("s", "next", "", path), "read");
    EXPECT_EQ(GetPrivateProfileString("t", "x", "", path), "1");
}

TEST_F(ProfileLimitsTest, BinaryGarbageGivesDefaultsOrShortValues) {
    std::mt19937 random(4711);
    for (int round = 0; round < 50; ++round) {
        std::string garbage(4096, '\0');
        for (char& byte : garbage) {
            byte = static_cast<char>(random());
        }
        if (round % 2 == 1) {
            garbage = "[s]\nk=" + garbage; // a value that runs into garbage
        }
        const std::string path = m_folder.Write("garbage.ini", garbage);
        const std::string value = GetPrivateProfileString("s", "k", "", path);
        EXPECT_LE(value.size(), kMaxValueBytes);
    }
}

TEST_F(ProfileLimitsTest, FolderGivenAsFileGivesTheDefault) {
    m_folder.Write("dir.ini/inner.ini", "[s]\nk=v\n");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "d", m_folder.Path() + "dir.ini"), "d");
}

TEST_F(ProfileLimitsTest, PipeGivenAsFileGivesTheDefaultWithoutWaiting) {
    const std::string path = m_folder.Path() + "pipe.ini";
    ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
    EXPECT_EQ(GetPrivateProfileString("s", "k", "d", path), "d");
}

TEST_F(ProfileLimitsTest, EndlessDeviceGivesTheDefault) {
    EXPECT_EQ(GetPrivateProfileString("s", "k", "d", "/dev/zero"), "d");
}

TEST_F(ProfileLimitsTest, NamesWithLineBreaksOrNulFindNothing) {
    const std::string text = "[s]\nk=v\n";
    EXPECT_EQ(platform::ReadProfileText(text, "s\n", "k", "d"), "d");
    EXPECT_EQ(platform::ReadProfileText(text, "s", std::string("k\0x", 3), "d"), "d");
}

} // namespace
