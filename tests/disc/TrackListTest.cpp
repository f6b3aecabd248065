// Reading discs into the track list and the address table, against the
// emulated writer through the MMC layer: pressed discs with a data track and
// CD-Text, multi-session and open CD-Rs, and drives with nothing to read.
#include "components/quarnel/device/DeviceStatus.h"
#include "disc/TrackListReader.h"
#include "disc/TrackRowsTable.h"
#include "lang/LangText.h"
#include "tests/disc/DiscFixtures.h"

#include <gtest/gtest.h>

namespace disc {
namespace {

using quarnel::test::EmulatedRig;
using test::RecordTake;
using test::WriteMixedCue;

struct Reading {
    TrackRowsTable rows;
    TrackAddressTable addresses;
    TrackListReader reader{rows, addresses};
};

std::string Untitled(int track) {
    return lang::GetLangString("UIText", 26) + std::to_string(track);
}

TEST(TrackList, PressedDiscListsItsAudioTracksOnlyWithTitles) {
    EmulatedRig rig(quarnel::emu::MediumKind::None);
    std::string error;
    ASSERT_TRUE(rig.Emulated().LoadImage(WriteMixedCue(rig.Parent() / "src", 300), &error))
        << error;
    Reading reading;
    reading.addresses.start[50] = 7; // cleared by the reading
    reading.reader.ReadDisc(&rig.Device());
    EXPECT_EQ(reading.reader.CurrentDevice(), &rig.Device());

    ASSERT_EQ(reading.rows.RowCount(), 3) << "no row for the data track";
    const std::vector<std::vector<std::string>> expected = {
        {"1", "First", "00:03:74", "0", "299"},
        {"2", "Second", "00:03:74", "300", "599"},
        {"3", Untitled(3), "00:03:74", "600", "899"},
    };
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 5; ++column) {
            EXPECT_EQ(reading.rows.Cell(row, column),
                      expected[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)])
                << "row " << row << " column " << column;
        }
    }
    EXPECT_EQ(reading.rows.SelectedRow(), 0);
    EXPECT_EQ(reading.addresses.start[2], 300U);
    EXPECT_EQ(reading.addresses.end[3], 899U) << "track 3 ends where the data track starts";
    EXPECT_EQ(reading.addresses.start[4], 0U);
    EXPECT_EQ(reading.addresses.start[50], 0U);
}

TEST(TrackList, SessionsFollowEachOtherAndAnOpenCdREndsAtTheNextWritableAddress) {
    EmulatedRig rig(quarnel::emu::MediumKind::CdR);
    RecordTake(rig, 1, 10, true);
    RecordTake(rig, 2, 5, true);
    Reading reading;
    reading.reader.ReadDisc(&rig.Device());
    ASSERT_EQ(reading.rows.RowCount(), 2);

    // Session 1: track 1 of 160 sectors and its lead-out; session 2 begins
    // after lead-out, lead-in and pause.
    EXPECT_EQ(reading.rows.Cell(0, kColumnStart), "0");
    EXPECT_EQ(reading.rows.Cell(0, kColumnEnd), "159");
    EXPECT_EQ(reading.rows.Cell(0, kColumnTimes), FormatLength(159));
    const std::uint32_t second = 160 + 2 + 6750 + 4500 + 150;
    EXPECT_EQ(reading.rows.Cell(1, kColumnStart), std::to_string(second));

    unsigned long next = 0;
    ASSERT_EQ(rig.Device().GetNextWriteAdd(next), quarnel::status::kOk);
    EXPECT_GT(next, second + 80U);
    EXPECT_EQ(reading.rows.Cell(1, kColumnEnd), std::to_string(next));
    EXPECT_EQ(reading.rows.Cell(1, kColumnTimes),
              FormatLength(static_cast<std::int32_t>(next - second)));
    EXPECT_EQ(reading.addresses.start[2], second);
    EXPECT_EQ(reading.addresses.end[2], next) << "indexed by the row count";
}

TEST(TrackList, SharedSheetWithCdTextAndMalformedSheetsRefused) {
    const std::filesystem::path vectors = testsupport::TestVectors();
    if (vectors.empty()) {
        GTEST_SKIP() << "the shared test vectors are not there";
    }
    EmulatedRig rig(quarnel::emu::MediumKind::None);
    std::string error;
    ASSERT_TRUE(rig.Emulated().LoadImage(vectors / "cdda.cue", &error)) << error;
    Reading reading;
    reading.reader.ReadDisc(&rig.Device());
    ASSERT_EQ(reading.rows.RowCount(), 1);
    EXPECT_EQ(reading.rows.Cell(0, kColumnTitle), "Soft");
    EXPECT_EQ(reading.rows.Cell(0, kColumnTimes), "00:04:01");
    EXPECT_EQ(reading.rows.Cell(0, kColumnEnd), "301");

    for (const auto& entry : std::filesystem::directory_iterator(vectors)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with("bad-") && name.ends_with(".cue")) {
            EXPECT_FALSE(rig.Emulated().LoadImage(entry.path())) << name;
            reading.reader.ReadDisc(&rig.Device());
            EXPECT_EQ(reading.rows.Cell(0, kColumnTitle), "Soft") << name << " replaced the disc";
        }
    }
}

// The table of contents leaves out the tracks of a session still open, as
// drives that read it from the lead-ins do: they come from READ TRACK
// INFORMATION.
TEST(TrackList, TracksOfAnOpenSessionComeFromTheirTrackInformation) {
    EmulatedRig rig(quarnel::emu::MediumKind::CdR);
    RecordTake(rig, 1, 10, true);
    RecordTake(rig, 2, 5, false);
    RecordTake(rig, 3, 4, false);
    Reading reading;
    reading.reader.ReadDisc(&rig.Device());
    ASSERT_EQ(reading.rows.RowCount(), 3);
    const std::uint32_t second = 160 + 2 + 6750 + 4500 + 150;
    EXPECT_EQ(reading.rows.Cell(1, kColumnStart), std::to_string(second));
    EXPECT_EQ(reading.rows.Cell(1, kColumnEnd), std::to_string(second + 79));
    EXPECT_EQ(reading.rows.Cell(2, kColumnStart), std::to_string(second + 80 + 152));
    EXPECT_EQ(reading.addresses.start[3], second + 80 + 152);
    EXPECT_EQ(reading.rows.Cell(2, kColumnTitle), Untitled(3));
}

} // namespace
} // namespace disc
