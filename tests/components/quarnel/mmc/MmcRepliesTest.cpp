// Command blocks and pages the drive classes build, INQUIRY text and disc addresses (bad
// replies are replayed by the fuzzers' corpus).
#include "components/quarnel/mmc/CommandBuilders.h"
#include "components/quarnel/mmc/Inquiry.h"
#include "components/quarnel/mmc/ModePage.h"
#include "components/quarnel/mmc/Msf.h"
#include "components/quarnel/mmc/WriteParametersPage.h"

#include <cstring>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace quarnel {
namespace {

using V = std::vector<std::uint8_t>;

// The format lists of a DVD+RW format (Immed) and of a plain one, with the
// format options bit clear.
TEST(CommandBuilders, FormatUnitParameterList) {
    const auto list = cdb::FormatUnitParameters(0xFFFFFFFF, cdb::kFormatTypeDvdPlusRwFull, 0, true);
    EXPECT_EQ(V(list.begin(), list.end()),
              (V{0, 0x02, 0, 8, 0xFF, 0xFF, 0xFF, 0xFF, 0x26 << 2, 0, 0, 0}));
    const auto plain = cdb::FormatUnitParameters(1000, 0, 0x000800, false);
    EXPECT_EQ(V(plain.begin(), plain.end()), (V{0, 0, 0, 8, 0, 0, 0x03, 0xE8, 0, 0, 8, 0}));
}

// A drive's current page 05: SAO, test write, data mode 1, with vendor bytes.
V WriteParametersPageBytes() {
    V page(52, 0);
    page[0] = 0x85; // PS set
    page[1] = 0x32;
    page[2] = 0x12;
    page[3] = 0xC4 | 0x20; // multi-session open, FP, track mode 4
    page[4] = 0x08;
    page[5] = 0x0A; // link size
    page[8] = 0x20;
    page[51] = 0x5A; // vendor specific
    return page;
}

TEST(WriteParametersPage, TrackAtOnceAudioRoundTrip) {
    WriteParameters params = ParseWriteParametersPage(WriteParametersPageBytes()).value;
    params.writeType = write::kTypeTrackAtOnce;
    params.testWrite = false;
    params.underrunProtection = true;
    params.multiSession = write::kMultiSessionClose;
    params.trackMode = write::kTrackModeAudio;
    params.dataBlockType = write::kBlockRaw2352;
    params.sessionFormat = write::kSessionCdDa;
    params.pauseLength = write::kAudioPauseSectors;
    const V page = BuildWriteParametersPage(params);
    // PS cleared, FP too (it belongs to packet writing), link size and vendor bytes untouched.
    V expected = WriteParametersPageBytes();
    expected[0] = 0x05;
    expected[2] = 0x41;
    expected[3] = expected[4] = expected[8] = 0;
    expected[15] = 150;
    EXPECT_EQ(page, expected);

    const auto again = ParseWriteParametersPage(page);
    ASSERT_TRUE(again.Ok());
    EXPECT_TRUE(again.value.underrunProtection);
    EXPECT_EQ(again.value.writeType, write::kTypeTrackAtOnce);
    EXPECT_EQ(again.value.pauseLength, 150);
    EXPECT_EQ(again.value.page, page);

    const V list = ModeSelectList(page);
    ASSERT_EQ(list.size(), 60U);
    EXPECT_EQ(V(list.begin(), list.begin() + 8), V(8, 0));
    EXPECT_EQ(V(list.begin() + 8, list.end()), page);
}

TEST(WriteParametersPage, PacketWritingKeepsFixedPackets) {
    WriteParameters params = ParseWriteParametersPage(WriteParametersPageBytes()).value;
    params.writeType = write::kTypePacket;
    EXPECT_EQ(BuildWriteParametersPage(params)[3] & 0x20, 0x20);
}

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

} // namespace
} // namespace quarnel
