// A whole track-at-once take through CDevCmdRW against the emulated writer,
// read back through the TOC, SessionInfo/TocData and READ CD, then a second
// take appended to the disc, and the disc surviving a restart.
#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/device/SessionInfo.h"
#include "components/quarnel/mmc/ByteOrder.h"
#include "components/quarnel/mmc/Msf.h"
#include "tests/components/quarnel/integration/EmulatedRig.h"

#include <gtest/gtest.h>

namespace quarnel::test {
namespace {

constexpr int kReadChunk = 26;

struct Take {
    unsigned long start = 0;
    std::vector<std::uint8_t> data;
};

// Parameters, next writable address, 16-sector writes, cache flush and
// closing the track, as the recorder does it; closes the session when asked.
Take RecordTake(EmulatedRig& rig, int track, int chunks, bool closeSession, bool keepOpen) {
    CDevCmdRW& device = rig.Device();
    Take take;
    EXPECT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(keepOpen)), status::kOk);
    EXPECT_EQ(device.GetNextWriteAdd(take.start), status::kOk);
    take.data = WriteChunks(device, take.start, chunks, static_cast<std::uint8_t>(track));
    EXPECT_EQ(device.SynCache(), status::kOk);
    rig.WaitUntilReady();
    EXPECT_EQ(device.CloseTrack(track), status::kOk);
    if (closeSession) {
        EXPECT_EQ(device.CloseSession(), status::kOk);
        rig.WaitUntilReady();
    }
    return take;
}

std::vector<std::uint8_t> ReadBack(CDevCmdROM& device, unsigned long start, std::size_t bytes) {
    std::vector<std::uint8_t> all(bytes);
    const std::size_t sectors = bytes / CDevCmdROM::kAudioSectorBytes;
    for (std::size_t done = 0; done < sectors; done += kReadChunk) {
        const int count = static_cast<int>(std::min<std::size_t>(kReadChunk, sectors - done));
        EXPECT_EQ(device.ReadCD_All(all.data() + done * CDevCmdROM::kAudioSectorBytes,
                                    static_cast<long>(count * CDevCmdROM::kAudioSectorBytes), count,
                                    start + done),
                  status::kOk)
            << "read at " << start + done;
    }
    return all;
}

SessionInfo ReadSessions(CDevCmdROM& device) {
    std::vector<unsigned char> toc(2048);
    EXPECT_EQ(device.ReadTocEx(toc.data(), static_cast<long>(toc.size()), 2, 0), status::kOk);
    return {toc.data() + 4, static_cast<int>(GetBe16(toc, 0)) - 2};
}

std::uint32_t TrackStart(const TocData& session, int track) {
    TocData::_Data data;
    EXPECT_TRUE(session.GetTrackData(track, data)) << "track " << track;
    EXPECT_EQ(data.Control() & 0x04, 0) << "an audio track";
    return MsfToLba({data.pmin, data.psec, data.pframe});
}

TEST(TaoSequence, OneTakeReadsBackThroughTocAndReadCd) {
    EmulatedRig rig;
    CDevCmdRW& device = rig.Device();
    const Take take = RecordTake(rig, 1, 20, true, true);
    EXPECT_EQ(take.start, 0U);

    const SessionInfo sessions = ReadSessions(device);
    ASSERT_EQ(sessions.GetSessionCount(), 1);
    const TocData& session = *sessions.GetTocData(1);
    EXPECT_EQ(session.GetFirstTrackNo(), 1);
    EXPECT_EQ(session.GetLastTrackNo(), 1);
    EXPECT_EQ(TrackStart(session, 1), 0U);
    EXPECT_EQ(session.GetLeadOutStartPosEx(), 320U);
    EXPECT_EQ(ReadBack(device, 0, take.data.size()), take.data);

    DISC_INFO disc{};
    ASSERT_EQ(device.ReadDiscInfo(disc), status::kOk);
    EXPECT_EQ(disc.discStatus, disc::kStatusAppendable);
    EXPECT_EQ(disc.lastSessionState, disc::kSessionEmpty);
    EXPECT_EQ(disc.sessions, 2);
    EXPECT_EQ(disc.lastTrackLastSession, 2);
    EXPECT_EQ(disc.LastPossibleLeadOutLba(), MsfToLba({79, 59, 74}));
}

TEST(TaoSequence, SecondTakeAppendsTrackTwoInANewSession) {
    EmulatedRig rig;
    const Take first = RecordTake(rig, 1, 20, true, true);
    const Take second = RecordTake(rig, 2, 10, true, false);
    EXPECT_EQ(second.start, 320U + 6750 + 4500 + 150) << "after lead-out, lead-in and pause";

    CDevCmdRW& device = rig.Device();
    const SessionInfo sessions = ReadSessions(device);
    ASSERT_EQ(sessions.GetSessionCount(), 2);
    EXPECT_EQ(TrackStart(*sessions.GetTocData(1), 1), first.start);
    EXPECT_EQ(sessions.GetTocData(2)->GetFirstTrackNo(), 2);
    EXPECT_EQ(TrackStart(*sessions.GetTocData(2), 2), second.start);
    EXPECT_EQ(sessions.GetTocData(2)->GetLeadOutStartPosEx(), second.start + 160);
    EXPECT_EQ(ReadBack(device, second.start, second.data.size()), second.data);

    DISC_INFO disc{};
    ASSERT_EQ(device.ReadDiscInfo(disc), status::kOk);
    EXPECT_EQ(disc.discStatus, disc::kStatusComplete) << "closed without room for another session";
    unsigned long next = 0;
    EXPECT_NE(device.GetNextWriteAdd(next), status::kOk) << "a complete disc has no next address";
}

TEST(TaoSequence, TakesInOneOpenSessionFollowEachOther) {
    EmulatedRig rig;
    const Take first = RecordTake(rig, 1, 4, false, true);
    const Take second = RecordTake(rig, 2, 4, false, true);
    EXPECT_EQ(second.start, first.start + 64);

    CDevCmdRW& device = rig.Device();
    TRACK_INFO track{};
    ASSERT_EQ(device.ReadTrackInfoEx(track, TRACK_INFO_BY_TRACK, 2), status::kOk);
    EXPECT_EQ(track.track, 2);
    EXPECT_EQ(track.session, 1);
    EXPECT_EQ(track.start, 64U);
    EXPECT_EQ(track.size, 64U);
    EXPECT_FALSE(track.blank);
    TRACK_INFO invisible{};
    ASSERT_EQ(device.ReadTrackInfoEx(invisible, TRACK_INFO_BY_TRACK, 0xFF), status::kOk);
    EXPECT_TRUE(invisible.blank);
    EXPECT_TRUE(invisible.nextWritableValid);
    EXPECT_EQ(invisible.nextWritable, 128U);
    EXPECT_EQ(invisible.freeBlocks, MsfToLba({79, 59, 74}) - 128);

    DISC_INFO disc{};
    ASSERT_EQ(device.ReadDiscInfo(disc), status::kOk);
    EXPECT_EQ(disc.discStatus, disc::kStatusAppendable);
    EXPECT_EQ(disc.lastSessionState, disc::kSessionIncomplete);
    EXPECT_EQ(disc.sessions, 1);
    EXPECT_EQ(disc.firstTrack, 1);
    EXPECT_EQ(disc.lastTrackLastSession, 3) << "the invisible track counts";
    EXPECT_EQ(ReadBack(device, 0, first.data.size()), first.data);
}

TEST(TaoSequence, DiscAndOpenTrackSurviveARestart) {
    EmulatedRig rig;
    const Take first = RecordTake(rig, 1, 4, true, true);
    CDevCmdRW& device = rig.Device();
    ASSERT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(true)), status::kOk);
    unsigned long next = 0;
    ASSERT_EQ(device.GetNextWriteAdd(next), status::kOk);
    const std::vector<std::uint8_t> written = WriteChunks(device, next, 3, 9);

    rig.Restart(); // killed mid-take: the track stays open
    CDevCmdRW& again = rig.Device();
    EXPECT_EQ(ReadBack(again, first.start, first.data.size()), first.data);
    EXPECT_EQ(again.CloseTrack(2), status::kOk) << "the open track can be closed later";
    EXPECT_EQ(again.CloseSession(), status::kOk);
    rig.WaitUntilReady();
    const SessionInfo sessions = ReadSessions(again);
    ASSERT_EQ(sessions.GetSessionCount(), 2);
    EXPECT_EQ(TrackStart(*sessions.GetTocData(2), 2), next);
    EXPECT_EQ(ReadBack(again, next, written.size()), written);
}

} // namespace
} // namespace quarnel::test
