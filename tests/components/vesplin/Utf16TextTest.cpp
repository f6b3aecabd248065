#include "components/vesplin/Utf16Text.h"

#include <gtest/gtest.h>

using vesplin::ToUtf16WithBom;
using Units = std::vector<unsigned short>;

TEST(Utf16TextTest, TextIsFramedByByteOrderMarkAndZero) {
    EXPECT_EQ(ToUtf16WithBom(""), (Units{0xFEFF, 0}));
    EXPECT_EQ(ToUtf16WithBom("Ab"), (Units{0xFEFF, 'A', 'b', 0}));
}

TEST(Utf16TextTest, MultiByteSequencesBecomeOneUnitOrASurrogatePair) {
    EXPECT_EQ(ToUtf16WithBom("\xC3\xBC\xE2\x82\xAC"), (Units{0xFEFF, 0x00FC, 0x20AC, 0}));
    EXPECT_EQ(ToUtf16WithBom("\xF0\x9D\x84\x9E"), (Units{0xFEFF, 0xD834, 0xDD1E, 0}));
}

TEST(Utf16TextTest, InvalidSequencesBecomeReplacementCharacters) {
    // A lone continuation byte, an overlong '/', an encoded surrogate, a
    // sequence cut off by the end of the text.
    EXPECT_EQ(ToUtf16WithBom("\x80"), (Units{0xFEFF, 0xFFFD, 0}));
    EXPECT_EQ(ToUtf16WithBom("\xC0\xAF"), (Units{0xFEFF, 0xFFFD, 0}));
    EXPECT_EQ(ToUtf16WithBom("\xED\xA0\x80"), (Units{0xFEFF, 0xFFFD, 0}));
    EXPECT_EQ(ToUtf16WithBom("a\xE2\x82"), (Units{0xFEFF, 'a', 0xFFFD, 0}));
    EXPECT_EQ(ToUtf16WithBom("\xF8z"), (Units{0xFEFF, 0xFFFD, 'z', 0}));
}
