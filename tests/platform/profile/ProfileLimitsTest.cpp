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
#include <utility>
#include <vector>

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

TEST_F(ProfileLimitsTest, ValuesAreCutTo259BytesOnACharacterBoundary) {
    const std::string a258(258, 'a');
    const std::string note = "\xE9\x9F\xB3"; // 音, three bytes
    std::string chinese;
    for (int i = 0; i < 90; ++i) {
        chinese += note;
    }
    const std::string inner(kMaxValueBytes, 'q');
    const std::vector<std::pair<std::string, std::string>> cases = {
        {std::string(kMaxValueBytes, 'a'), std::string(kMaxValueBytes, 'a')},
        {std::string(1000, 'b'), std::string(kMaxValueBytes, 'b')},
        {a258 + "\xC3\xA9" + "zzz", a258},                              // é straddles the cut
        {std::string(257, 'a') + note + "tail", std::string(257, 'a')}, // 3 bytes at 257
        {a258 + note + "tail", a258},                                   // 3 bytes at 258
        {std::string(256, 'a') + "\xF0\x9F\x8E\xB5x", std::string(256, 'a')}, // 4 bytes
        {a258 + "\xF0\x9F\x8E\xB5x", a258},
        {std::string(256, 'a') + note + "more", std::string(256, 'a') + note}, // ends at 259
        {chinese, chinese.substr(0, 258)},
        {"\"" + inner + "\"", inner}, // cut after the quotes go
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(ReadValue(value), expected) << value.size() << " bytes";
    }
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

TEST_F(ProfileLimitsTest, PathsThatAreNoRegularFileGiveTheDefaultWithoutWaiting) {
    m_folder.Write("dir.ini/inner.ini", "[s]\nk=v\n");
    const std::string pipe = m_folder.Path() + "pipe.ini";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {m_folder.Path() + "dir.ini", pipe, std::string("/dev/zero")}) {
        EXPECT_EQ(GetPrivateProfileString("s", "k", "d", path), "d") << path;
    }
}

TEST_F(ProfileLimitsTest, NamesWithLineBreaksOrNulFindNothing) {
    const std::string text = "[s]\nk=v\n";
    EXPECT_EQ(platform::ReadProfileText(text, "s\n", "k", "d"), "d");
    EXPECT_EQ(platform::ReadProfileText(text, "s", std::string("k\0x", 3), "d"), "d");
}

} // namespace
