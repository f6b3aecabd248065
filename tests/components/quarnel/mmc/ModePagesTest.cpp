// MODE SENSE replies: finding the page behind the header and block
// descriptors, the capabilities page, and the write parameters round trip.
#include "components/quarnel/mmc/CapabilitiesPage.h"
#include "components/quarnel/mmc/ModePage.h"
#include "components/quarnel/mmc/WriteParametersPage.h"

#include <gtest/gtest.h>

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

TEST(CapabilitiesPage, AllBits) {
    const auto parsed = ParseCapabilitiesPage(CapabilitiesPageBytes());
    ASSERT_TRUE(parsed.Ok());
    const Capabilities& caps = parsed.value;
    EXPECT_TRUE(caps.readCdR && caps.readCdRw && caps.readDvdRom && caps.readDvdR &&
                caps.readDvdRam);
    EXPECT_TRUE(caps.writeCdR && caps.writeCdRw && caps.testWrite && caps.writeDvdR &&
                caps.writeDvdRam);
    EXPECT_TRUE(caps.underrunProtection);
    EXPECT_TRUE(caps.cddaRead && caps.cddaAccurate);
    EXPECT_TRUE(caps.lockSupported && caps.ejectSupported);
    EXPECT_EQ(caps.bufferKiB, 2048);
    EXPECT_TRUE(caps.CanWrite());
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

TEST(WriteParametersPage, ParsesTheDrivePage) {
    const auto parsed = ParseWriteParametersPage(WriteParametersPageBytes());
    ASSERT_TRUE(parsed.Ok());
    const WriteParameters& params = parsed.value;
    EXPECT_FALSE(params.underrunProtection);
    EXPECT_TRUE(params.testWrite);
    EXPECT_EQ(params.writeType, write::kTypeSessionAtOnce);
    EXPECT_EQ(params.multiSession, write::kMultiSessionOpen);
    EXPECT_EQ(params.trackMode, 4);
    EXPECT_EQ(params.dataBlockType, write::kBlockMode1);
    EXPECT_EQ(params.sessionFormat, 0x20);
    EXPECT_EQ(params.page.size(), 52U);
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

TEST(WriteParametersPage, WithoutADrivePageAFreshOneIsBuilt) {
    WriteParameters params;
    params.writeType = write::kTypeTrackAtOnce;
    params.multiSession = write::kMultiSessionOpen;
    const V page = BuildWriteParametersPage(params);
    ASSERT_EQ(page.size(), 52U);
    EXPECT_EQ(page[1], 0x32);
    EXPECT_EQ(page[3], 0xC0);
}

TEST(WriteParametersPage, ShortAndWrongPages) {
    V page = WriteParametersPageBytes();
    page.resize(15);
    EXPECT_EQ(ParseWriteParametersPage(page).error, ParseError::TooShort);
    page = WriteParametersPageBytes();
    page[0] = 0x2A;
    EXPECT_EQ(ParseWriteParametersPage(page).error, ParseError::WrongFormat);
}

TEST(ModeSelectList, ClearsTheSavableBit) {
    const V list = ModeSelectList(WriteParametersPageBytes());
    EXPECT_EQ(list[8], 0x05);
    EXPECT_EQ(ModeSelectList({}).size(), 8U);
}

} // namespace
} // namespace quarnel
