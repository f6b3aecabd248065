// Drive replies and command blocks: INQUIRY, GET CONFIGURATION, disc and track
// information, MODE SENSE pages, sense data and TOC formats on real-shaped replies, short
// replies and replies whose length fields lie; command blocks with fields of several bytes.
#include "components/quarnel/mmc/CapabilitiesPage.h"
#include "components/quarnel/mmc/CommandBuilders.h"
#include "components/quarnel/mmc/CommandTimeouts.h"
#include "components/quarnel/mmc/Configuration.h"
#include "components/quarnel/mmc/DiscInformation.h"
#include "components/quarnel/mmc/Inquiry.h"
#include "components/quarnel/mmc/ModePage.h"
#include "components/quarnel/mmc/Msf.h"
#include "components/quarnel/mmc/SenseData.h"
#include "components/quarnel/mmc/Toc.h"
#include "components/quarnel/mmc/TrackInformation.h"
#include "components/quarnel/mmc/WriteParametersPage.h"

#include <cstring>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace quarnel {
namespace {

using V = std::vector<std::uint8_t>;

V WithHeader(const V& page, std::uint16_t blockDescriptorBytes = 0) {
    V reply(8 + blockDescriptorBytes, 0);
    reply.insert(reply.end(), page.begin(), page.end());
    const auto length = static_cast<std::uint16_t>(reply.size() - 2);
    reply[0] = static_cast<std::uint8_t>(length >> 8);
    reply[1] = static_cast<std::uint8_t>(length);
    reply[7] = static_cast<std::uint8_t>(blockDescriptorBytes);
    return reply;
}

V CapabilitiesPageBytes() {
    V page(28, 0);
    page[0] = 0x2A;
    page[1] = 26;
    page[2] = 0x3B; // reads CD-R, CD-RW, DVD-ROM, DVD-R, DVD-RAM
    page[3] = 0x37; // writes CD-R, CD-RW, test, DVD-R, DVD-RAM
    page[4] = 0x80; // BUF
    page[5] = 0x03;
    page[6] = 0x29; // lock, eject, tray loader
    page[12] = 0x08;
    page[13] = 0x00; // 2,048 KiB
    return page;
}

// The format lists of a DVD+RW format (Immed) and of a plain one, with the
// format options bit clear.
TEST(CommandBuilders, FormatUnitParameterList) {
    const auto list = cdb::FormatUnitParameters(0xFFFFFFFF, cdb::kFormatTypeDvdPlusRwFull, 0, true);
    EXPECT_EQ(V(list.begin(), list.end()),
              (V{0, 0x02, 0, 8, 0xFF, 0xFF, 0xFF, 0xFF, 0x26 << 2, 0, 0, 0}));
    const auto plain = cdb::FormatUnitParameters(1000, 0, 0x000800, false);
    EXPECT_EQ(V(plain.begin(), plain.end()), (V{0, 0, 0, 8, 0, 0, 0x03, 0xE8, 0, 0, 8, 0}));
}

TEST(ModePage, FindsThePageBehindBlockDescriptors) {
    const V reply = WithHeader(CapabilitiesPageBytes(), 8);
    const auto page = FindModePage(reply, 0x2A);
    ASSERT_TRUE(page.Ok());
    EXPECT_EQ(page.value.size(), 28U);
    EXPECT_EQ(page.value[0], 0x2A);
}

TEST(ModePage, WrongPageShortAndLyingReplies) {
    const V reply = WithHeader(CapabilitiesPageBytes());
    EXPECT_EQ(FindModePage(reply, 0x05).error, ParseError::WrongFormat);
    EXPECT_EQ(FindModePage(V(reply.begin(), reply.begin() + 7), 0x2A).error, ParseError::TooShort);
    V lying = reply;
    lying[7] = 0xF0; // block descriptors reaching past the end
    EXPECT_EQ(FindModePage(lying, 0x2A).error, ParseError::TooShort);
    V cut(reply.begin(), reply.begin() + 16); // page length says 28, 8 arrived
    const auto page = FindModePage(cut, 0x2A);
    ASSERT_TRUE(page.Ok());
    EXPECT_EQ(page.value.size(), 8U);
    EXPECT_EQ(ParseCapabilitiesPage(page.value).value.bufferKiB, 0);
}

TEST(CapabilitiesPage, ReaderOnlyAndWrongPage) {
    V page = CapabilitiesPageBytes();
    page[3] = 0x04; // test write alone does not make a writer
    EXPECT_FALSE(ParseCapabilitiesPage(page).value.CanWrite());
    page[0] = 0x05;
    EXPECT_EQ(ParseCapabilitiesPage(page).error, ParseError::WrongFormat);
    EXPECT_EQ(ParseCapabilitiesPage(V{0x2A, 4, 0, 0, 0, 0}).error, ParseError::TooShort);
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
    page[14] = 0;
    page[15] = 0;
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
    ASSERT_EQ(page.size(), 52U);
    EXPECT_EQ(page[0], 0x05);
    EXPECT_EQ(page[2], 0x41);
    EXPECT_EQ(page[3], 0x00); // FP too: it belongs to packet writing
    EXPECT_EQ(page[4], 0x00);
    EXPECT_EQ(page[5], 0x0A); // link size untouched
    EXPECT_EQ(page[8], 0x00);
    EXPECT_EQ(page[14], 0x00);
    EXPECT_EQ(page[15], 150);
    EXPECT_EQ(page[51], 0x5A);

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

TEST(WriteParametersPage, ShortAndWrongPages) {
    V page = WriteParametersPageBytes();
    page.resize(15);
    EXPECT_EQ(ParseWriteParametersPage(page).error, ParseError::TooShort);
    page = WriteParametersPageBytes();
    page[0] = 0x2A;
    EXPECT_EQ(ParseWriteParametersPage(page).error, ParseError::WrongFormat);
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

std::vector<std::uint8_t> Fixed(std::uint8_t key, std::uint8_t asc, std::uint8_t ascq) {
    std::vector<std::uint8_t> bytes(18, 0);
    bytes[0] = 0xF0; // valid bit set, current error
    bytes[2] = key;
    bytes[7] = 10;
    bytes[12] = asc;
    bytes[13] = ascq;
    return bytes;
}

TEST(SenseData, FixedProgressDuringBlank) {
    auto bytes = Fixed(2, 0x04, 0x07);
    bytes[15] = 0x80;
    bytes[16] = 0x40;
    bytes[17] = 0x00;
    const SenseData data = DecodeSense(bytes);
    EXPECT_TRUE(data.progressValid);
    EXPECT_EQ(data.progress, 0x4000); // a quarter done
    bytes[15] = 0x00;                 // SKSV clear: the field means nothing
    EXPECT_FALSE(DecodeSense(bytes).progressValid);
}

TEST(SenseData, DeferredErrorsAreMarked) {
    auto bytes = Fixed(3, 0x0C, 0x09);
    bytes[0] = 0x71;
    const SenseData data = DecodeSense(bytes);
    EXPECT_TRUE(data.deferred);
    EXPECT_TRUE(data.Underrun());
}

TEST(SenseData, DescriptorFormatWithProgress) {
    // 72h, key 2, 04/04, one sense-key specific descriptor (type 02h, 6 bytes).
    const std::vector<std::uint8_t> bytes = {0x72, 0x02, 0x04, 0x04, 0,    0,    0,    8,
                                             0x02, 0x06, 0,    0,    0x80, 0xC0, 0x00, 0};
    const SenseData data = DecodeSense(bytes);
    EXPECT_TRUE(data.valid);
    EXPECT_FALSE(data.deferred);
    EXPECT_TRUE(data.FormatInProgress());
    EXPECT_TRUE(data.progressValid);
    EXPECT_EQ(data.progress, 0xC000);
}

TEST(SenseData, ShortAndUnknownSense) {
    EXPECT_FALSE(DecodeSense({}).valid);
    const std::vector<std::uint8_t> vendor = {0x7F, 0, 2, 0, 0, 0, 0, 10};
    EXPECT_FALSE(DecodeSense(vendor).valid);
    const std::vector<std::uint8_t> twoBytes = {0x70, 0};
    EXPECT_FALSE(DecodeSense(twoBytes).valid);
    // Key delivered, code and qualifier not: a valid but unspecific sense.
    const std::vector<std::uint8_t> keyOnly = {0x70, 0, 0x02, 0, 0, 0, 0, 10};
    const SenseData data = DecodeSense(keyOnly);
    EXPECT_TRUE(data.valid);
    EXPECT_EQ(data.key, 2);
    EXPECT_EQ(data.asc, 0);
    EXPECT_FALSE(data.NoMedium());
}

void SetLength(V& reply) {
    const auto length = static_cast<std::uint16_t>(reply.size() - 2);
    reply[0] = static_cast<std::uint8_t>(length >> 8);
    reply[1] = static_cast<std::uint8_t>(length);
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

} // namespace
} // namespace quarnel
