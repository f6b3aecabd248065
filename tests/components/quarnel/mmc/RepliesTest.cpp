// INQUIRY, GET CONFIGURATION, disc and track information on real-shaped
// replies, short replies and replies whose length fields lie.
#include "components/quarnel/mmc/Configuration.h"
#include "components/quarnel/mmc/DiscInformation.h"
#include "components/quarnel/mmc/Inquiry.h"
#include "components/quarnel/mmc/TrackInformation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace quarnel {
namespace {

using V = std::vector<std::uint8_t>;

V InquiryReply() {
    V reply(36, 0);
    reply[0] = 0x05;
    reply[1] = 0x80;
    reply[4] = 31;
    std::memcpy(&reply[8], "HL-DT-STDVDRAM GH24NSD1 PQ00", 28);
    return reply;
}

TEST(InquiryReply, CutShortAndControlBytes) {
    V reply = InquiryReply();
    reply.resize(20);
    reply[9] = 0x07;
    const auto parsed = ParseInquiry(reply);
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.value.vendor, "H?-DT-ST");
    EXPECT_EQ(parsed.value.product, "DVDR");
    EXPECT_EQ(parsed.value.revision, "");
    reply.resize(7);
    EXPECT_EQ(ParseInquiry(reply).error, ParseError::TooShort);
}

TEST(ConfigurationReply, CurrentProfile) {
    const V cdrw = {0, 0, 0, 12, 0, 0, 0x00, 0x0A, 0, 0, 0, 0};
    const auto parsed = ParseCurrentProfile(cdrw);
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.value, 0x0A);
    const V noMedium = {0, 0, 0, 4, 0, 0, 0, 0};
    EXPECT_EQ(ParseCurrentProfile(noMedium).value, 0);
    EXPECT_EQ(ParseCurrentProfile(V{0, 0, 0, 12, 0, 0, 0}).error, ParseError::TooShort);
    EXPECT_EQ(ParseCurrentProfile(V{0, 0, 0, 2, 0, 0, 0, 9}).error, ParseError::Inconsistent);
}

// An appendable CD-R with one closed track, last possible lead-out 79:59:74.
V AppendableDiscInfo() {
    V reply(34, 0);
    reply[1] = 32;
    reply[2] = 0x01 | (0x01 << 2); // appendable, last session incomplete
    reply[3] = 1;
    reply[4] = 1;
    reply[5] = 2;
    reply[6] = 2;
    reply[7] = 0x20;
    reply[16] = 0x00;
    reply[17] = 0x4F;
    reply[18] = 0x3B;
    reply[19] = 0x47;
    reply[20] = 0x00;
    reply[21] = 79;
    reply[22] = 59;
    reply[23] = 74;
    return reply;
}

TEST(DiscInformationReply, HighBytesOfCountsAndMarkers) {
    V reply = AppendableDiscInfo();
    reply[2] = 0x10 | 0x0E; // erasable, complete session, complete disc
    reply[9] = 1;           // sessions 256 + 1
    reply[11] = 1;
    reply[21] = reply[22] = reply[23] = 0xFF;
    const auto parsed = ParseDiscInformation(reply);
    ASSERT_TRUE(parsed.Ok());
    EXPECT_TRUE(parsed.value.erasable);
    EXPECT_EQ(parsed.value.discStatus, disc::kStatusComplete);
    EXPECT_EQ(parsed.value.lastSessionState, disc::kSessionComplete);
    EXPECT_EQ(parsed.value.sessions, 257);
    EXPECT_EQ(parsed.value.lastTrackLastSession, 258);
    EXPECT_EQ(parsed.value.LastPossibleLeadOutLba(), kNoAddress);
}

TEST(DiscInformationReply, ShortLyingAndOtherDataTypes) {
    V reply = AppendableDiscInfo();
    reply.resize(23);
    EXPECT_EQ(ParseDiscInformation(reply).error, ParseError::TooShort);
    reply = AppendableDiscInfo();
    reply[1] = 10; // claims 12 bytes: the lead-out is not part of the reply
    EXPECT_EQ(ParseDiscInformation(reply).error, ParseError::Inconsistent);
    reply = AppendableDiscInfo();
    reply[1] = 0xFF; // claims far more than delivered: only what arrived is used
    const auto parsed = ParseDiscInformation(reply);
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.value.raw.size(), kDiscInformationLength);
    reply = AppendableDiscInfo();
    reply[2] |= 0x40; // track resources information, not what was asked for
    EXPECT_EQ(ParseDiscInformation(reply).error, ParseError::WrongFormat);
}

TEST(DiscInformationReply, BytesBeyondTheDeclaredLengthAreIgnored) {
    V reply = AppendableDiscInfo();
    reply[1] = 22; // 24 bytes of disc information, 10 stray bytes behind
    reply[30] = 0xEE;
    const auto parsed = ParseDiscInformation(reply);
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.value.raw[23], 74);
    EXPECT_EQ(parsed.value.raw[30], 0);
}

// The invisible track of a blank CD-R: 359,849 writable blocks from 0.
V BlankTrackInfo() {
    V reply(36, 0);
    reply[1] = 34;
    reply[2] = 1;
    reply[3] = 1;
    reply[5] = 0x04;
    reply[6] = 0x40 | 0x20 | 0x0F;
    reply[7] = 0x01;
    reply[16] = 0x00;
    reply[17] = 0x05;
    reply[18] = 0x7D;
    reply[19] = 0xA9;
    reply[24] = 0x00;
    reply[25] = 0x05;
    reply[26] = 0x7D;
    reply[27] = 0xA9;
    return reply;
}

TEST(TrackInformationReply, OldShortBlockAndLies) {
    V reply = BlankTrackInfo();
    reply.resize(28);
    reply[1] = 26;
    reply[7] = 0x03; // LRA valid claimed, but the address lies beyond the reply
    const auto parsed = ParseTrackInformation(reply);
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.value.size, 359849U);
    EXPECT_FALSE(parsed.value.lastRecordedValid);
    reply.resize(27);
    EXPECT_EQ(ParseTrackInformation(reply).error, ParseError::TooShort);
    reply = BlankTrackInfo();
    reply[1] = 4;
    EXPECT_EQ(ParseTrackInformation(reply).error, ParseError::Inconsistent);
}

} // namespace
} // namespace quarnel
