// Sessions and their tables of contents from full-TOC entries.
#include "components/quarnel/device/SessionInfo.h"

#include <gtest/gtest.h>

#include <vector>

namespace quarnel {
namespace {

using V = std::vector<std::uint8_t>;

V Entry(std::uint8_t session, std::uint8_t adrControl, std::uint8_t pointValue, std::uint8_t pmin,
        std::uint8_t psec, std::uint8_t pframe) {
    return {session, adrControl, 0, pointValue, 0, 0, 0, 0, pmin, psec, pframe};
}

V Join(std::initializer_list<V> entries) {
    V all;
    for (const V& entry : entries) {
        all.insert(all.end(), entry.begin(), entry.end());
    }
    return all;
}

// Session 1: audio tracks 1-3 and a lead-out; session 2: data track 4 with
// its lead-out, and a mode-5 entry (next program area) that is no track.
V TwoSessions() {
    return Join({Entry(1, 0x10, 0xA0, 1, 0, 0), Entry(1, 0x10, 0xA1, 3, 0, 0),
                 Entry(1, 0x10, 0xA2, 10, 0, 0), Entry(1, 0x10, 1, 0, 2, 0),
                 Entry(1, 0x10, 2, 3, 2, 0), Entry(1, 0x10, 3, 6, 2, 0),
                 Entry(1, 0x50, 0xB0, 12, 30, 0), Entry(1, 0x50, 0x01, 20, 0, 0),
                 Entry(2, 0x14, 0xA0, 4, 0, 0), Entry(2, 0x14, 0xA1, 4, 0, 0),
                 Entry(2, 0x14, 0xA2, 20, 0, 0), Entry(2, 0x14, 4, 12, 32, 0)});
}

TEST(SessionInfo, TwoSessions) {
    const V toc = TwoSessions();
    const SessionInfo info(toc.data(), static_cast<int>(toc.size()));
    ASSERT_EQ(info.GetSessionCount(), 2);
    const TocData* first = info.GetTocData(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->GetFirstTrackNo(), 1);
    EXPECT_EQ(first->GetLastTrackNo(), 3);
    EXPECT_EQ(first->GetLeadOutStartPosEx(), 10U * 60 * 75 - 150);
    TocData::_Data data;
    ASSERT_TRUE(first->GetTrackData(2, data));
    EXPECT_EQ(data.Control() & 4, 0);
    EXPECT_EQ(data.pmin, 3);
    EXPECT_EQ(data.psec, 2);
    ASSERT_TRUE(first->GetTrackData(1, data));
    EXPECT_EQ(data.pmin, 0) << "the mode-5 entry with point 1 did not replace track 1";
    EXPECT_FALSE(first->GetTrackData(4, data));

    const TocData* second = info.GetTocData(2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetFirstTrackNo(), 4);
    ASSERT_TRUE(second->GetTrackData(4, data));
    EXPECT_EQ(data.Control() & 4, 4);
    EXPECT_EQ(info.GetTocData(0), nullptr);
    EXPECT_EQ(info.GetTocData(3), nullptr);
}

TEST(SessionInfo, DataBytesAreTheEntryWithoutItsSession) {
    const V toc = Entry(1, 0x14, 7, 1, 2, 3);
    const SessionInfo info(toc.data(), static_cast<int>(toc.size()));
    TocData::_Data data;
    ASSERT_TRUE(info.GetTocData(1)->GetTrackData(7, data));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&data);
    EXPECT_EQ(bytes[0], 0x14);
    EXPECT_EQ(bytes[2], 7);
    EXPECT_EQ(bytes[7], 1);
    EXPECT_EQ(bytes[8], 2);
    EXPECT_EQ(bytes[9], 3);
}

TEST(SessionInfo, MissingPointersFallBackToTheTracks) {
    const V toc = Join({Entry(1, 0x10, 2, 0, 2, 0), Entry(1, 0x10, 5, 5, 0, 0)});
    const SessionInfo info(toc.data(), static_cast<int>(toc.size()));
    const TocData* data = info.GetTocData(1);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->GetFirstTrackNo(), 2);
    EXPECT_EQ(data->GetLastTrackNo(), 5);
    EXPECT_EQ(data->GetLeadOutStartPosEx(), 0U);
    EXPECT_EQ(TocData().GetFirstTrackNo(), 0);
    EXPECT_EQ(TocData().GetLastTrackNo(), 0);
}

TEST(SessionInfo, BadInputGivesNoSessions) {
    const V toc = TwoSessions();
    EXPECT_EQ(SessionInfo(nullptr, 100).GetSessionCount(), 0);
    EXPECT_EQ(SessionInfo(toc.data(), -2).GetSessionCount(), 0);
    EXPECT_EQ(SessionInfo(toc.data(), 10).GetSessionCount(), 0);
    const V zero(11, 0);
    EXPECT_EQ(SessionInfo(zero.data(), 11).GetSessionCount(), 0);
    // A length one short of the last entry drops just that entry.
    const SessionInfo cut(toc.data(), static_cast<int>(toc.size()) - 1);
    ASSERT_EQ(cut.GetSessionCount(), 2);
    TocData::_Data data;
    EXPECT_FALSE(cut.GetTocData(2)->GetTrackData(4, data));
}

} // namespace
} // namespace quarnel
