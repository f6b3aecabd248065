#include "components/quarnel/emu/DiscStateFile.h"

#include <gtest/gtest.h>

namespace quarnel::emu {
namespace {

TEST(DiscStateFile, RoundTripsEveryField) {
    DiscState state;
    state.medium = MediumKind::CdRw;
    state.trayOpen = true;
    state.locked = true;
    state.closedSessions = 1;
    state.trackOpen = true;
    state.trackRuined = true;
    state.catalog = "0000010271955";
    state.title = "Disc = title";
    state.tracks = {{1, 1, 0, 300, 2, "One", "Me"}, {2, 2, 11700, 16, 0, "", "You"}};
    const std::optional<DiscState> back = ParseDiscState(FormatDiscState(state));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->medium, MediumKind::CdRw);
    EXPECT_TRUE(back->trayOpen);
    EXPECT_TRUE(back->locked);
    EXPECT_TRUE(back->trackOpen);
    EXPECT_TRUE(back->trackRuined);
    EXPECT_EQ(back->closedSessions, 1U);
    EXPECT_EQ(back->catalog, state.catalog);
    EXPECT_EQ(back->title, "Disc = title");
    ASSERT_EQ(back->tracks.size(), 2U);
    EXPECT_EQ(back->tracks[1].start, 11700U);
    EXPECT_EQ(back->tracks[1].length, 16U);
    EXPECT_EQ(back->tracks[0].control, 2);
    EXPECT_EQ(back->tracks[0].title, "One");
    EXPECT_EQ(back->tracks[1].performer, "You");
    EXPECT_EQ(back->NextWritable(), 11716U);
}

TEST(DiscStateFile, RefusesDamagedFiles) {
    EXPECT_FALSE(ParseDiscState("medium=floppy\n").has_value());
    EXPECT_FALSE(ParseDiscState("medium=cd-r\ntrack=1 1 0\n").has_value());
    EXPECT_FALSE(ParseDiscState("medium=cd-r\ntrack=1 1 0 x 0\n").has_value());
    EXPECT_FALSE(ParseDiscState("medium=cd-r\nlocked=2\n").has_value());
    EXPECT_FALSE(ParseDiscState("medium=cd-r\ntrack_open=1\n").has_value());
    EXPECT_FALSE(ParseDiscState("medium=cd-r\ntitle.3=x\n").has_value());
    EXPECT_FALSE(ParseDiscState("garbage\n").has_value());
    EXPECT_TRUE(ParseDiscState("medium=cd-r\nfuture_key=1\n").has_value());
}

} // namespace
} // namespace quarnel::emu
