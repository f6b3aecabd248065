// Format-0 and full-TOC replies, and replies of the wrong format (some
// drives answer every format with a format-0 table).
#include "components/quarnel/mmc/Toc.h"
#include "components/quarnel/mmc/Msf.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace quarnel {
namespace {

using V = std::vector<std::uint8_t>;

void SetLength(V& reply) {
    const auto length = static_cast<std::uint16_t>(reply.size() - 2);
    reply[0] = static_cast<std::uint8_t>(length >> 8);
    reply[1] = static_cast<std::uint8_t>(length);
}

// Two audio tracks at 0 and 13,500, lead-out at 27,000 (LBA form).
V TrackTocReply() {
    V reply = {0, 0,    1,    2,                   //
               0, 0x10, 1,    0, 0, 0, 0x00, 0x00, //
               0, 0x10, 2,    0, 0, 0, 0x34, 0xBC, //
               0, 0x10, 0xAA, 0, 0, 0, 0x69, 0x78};
    SetLength(reply);
    return reply;
}

// One session: A0 (first 1), A1 (last 2), A2 (lead-out 06:02:00), tracks 1-2,
// and a data track 3 in session 2.
V FullTocReply() {
    V reply = {0, 0,    1, 2,    1, 0x10, 0, 0xA0, 0,  0,  0, 0, 1, 0, 0, //
               1, 0x10, 0, 0xA1, 0, 0,    0, 0,    2,  0,  0,             //
               1, 0x10, 0, 0xA2, 0, 0,    0, 0,    6,  2,  0,             //
               1, 0x10, 0, 0x01, 0, 0,    0, 0,    0,  2,  0,             //
               1, 0x10, 0, 0x02, 0, 0,    0, 0,    3,  2,  0,             //
               2, 0x14, 0, 0x03, 0, 0,    0, 0,    10, 30, 0};
    SetLength(reply);
    return reply;
}

TEST(DiscTime, AddressesOnBothSidesOfNinetyMinutes) {
    const std::vector<std::pair<Msf, std::uint32_t>> cases = {
        {{0, 0, 0}, 0},
        {{0, 2, 0}, 0},
        {{0, 2, 1}, 1},
        {{79, 59, 74}, 359849},
        {{89, 59, 74}, 404849},
        {{90, 0, 0}, 0xFFFFFFFFu - 45149}, // lead-in: 405,000 - 450,150
        {{99, 59, 74}, 0xFFFFFFFFu - 150}, // the last sector before address 0
        {{0xFF, 0xFF, 0xFF}, kNoAddress},
    };
    for (const auto& [msf, lba] : cases) {
        EXPECT_EQ(MsfToLba(msf), lba)
            << int{msf.minutes} << ":" << int{msf.seconds} << ":" << int{msf.frames};
    }
    const Msf back = LbaToMsf(359849);
    EXPECT_EQ(back.minutes, 79);
    EXPECT_EQ(back.seconds, 59);
    EXPECT_EQ(back.frames, 74);
}

TEST(TrackToc, Entries) {
    const auto parsed = ParseTrackToc(TrackTocReply());
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.value.firstTrack, 1);
    EXPECT_EQ(parsed.value.lastTrack, 2);
    ASSERT_EQ(parsed.value.entries.size(), 3U);
    EXPECT_EQ(parsed.value.entries[1].address, 13500U);
    EXPECT_EQ(parsed.value.entries[2].track, kLeadOutTrack);
    EXPECT_EQ(parsed.value.entries[2].address, 27000U);
}

TEST(TrackToc, RefusesAFullToc) {
    EXPECT_EQ(ParseTrackToc(FullTocReply()).error, ParseError::WrongFormat);
}

TEST(FullToc, Descriptors) {
    const auto parsed = ParseFullToc(FullTocReply());
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.value.firstSession, 1);
    EXPECT_EQ(parsed.value.lastSession, 2);
    ASSERT_EQ(parsed.value.descriptors.size(), 6U);
    EXPECT_EQ(parsed.value.descriptors[5].session, 2);
    const FullTocEntry& data = parsed.value.descriptors[5].entry;
    EXPECT_EQ(data.Adr(), 1);
    EXPECT_EQ(data.Control(), 4);
    EXPECT_EQ(data.point, 3);
    EXPECT_EQ(data.pmin, 10);
    EXPECT_EQ(data.psec, 30);
}

TEST(FullToc, RefusesFormatZeroData) {
    EXPECT_EQ(ParseFullToc(TrackTocReply()).error, ParseError::WrongFormat);
    // Eleven format-0 entries are 88 bytes, a whole number of descriptors;
    // the session byte (reserved, 0, in format 0) still gives them away.
    V reply = {0, 0, 1, 10};
    for (std::uint8_t track = 1; track <= 11; ++track) {
        const V entry = {0, 0x10, track == 11 ? kLeadOutTrack : track, 0, 0, 0, 0, track};
        reply.insert(reply.end(), entry.begin(), entry.end());
    }
    SetLength(reply);
    ASSERT_TRUE(ParseTrackToc(reply).Ok());
    EXPECT_EQ(ParseFullToc(reply).error, ParseError::WrongFormat);
}

TEST(FullToc, SessionOutsideTheHeaderRange) {
    V reply = FullTocReply();
    reply[3] = 1; // header says one session, a descriptor says two
    EXPECT_EQ(ParseFullToc(reply).error, ParseError::WrongFormat);
}

TEST(FullToc, CutShortAndLyingLengths) {
    V reply = FullTocReply();
    reply.resize(4 + 11 * 2 + 5); // two whole descriptors and part of a third
    const auto cut = ParseFullToc(reply);
    ASSERT_TRUE(cut.Ok());
    EXPECT_EQ(cut.value.descriptors.size(), 2U);

    reply = FullTocReply();
    reply[0] = 0x07; // claims 168 descriptors, 6 delivered
    reply[1] = 0x3A;
    const auto lying = ParseFullToc(reply);
    ASSERT_TRUE(lying.Ok());
    EXPECT_EQ(lying.value.descriptors.size(), 6U);

    EXPECT_EQ(ParseFullToc(V{0, 1, 1}).error, ParseError::TooShort);
    EXPECT_EQ(ParseFullToc(V{0, 1, 1, 1}).error, ParseError::TooShort);
    const auto empty = ParseFullToc(V{0, 2, 1, 1});
    ASSERT_TRUE(empty.Ok());
    EXPECT_TRUE(empty.value.descriptors.empty());
}

TEST(FullTocDescriptors, WithoutHeader) {
    const V reply = FullTocReply();
    const auto parsed = ParseFullTocDescriptors(std::span(reply).subspan(4, 11 * 3 + 4));
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.value.size(), 3U);
    const V zeroSession(11, 0);
    EXPECT_EQ(ParseFullTocDescriptors(zeroSession).error, ParseError::WrongFormat);
}

} // namespace
} // namespace quarnel
