// Is ready and is writer against emulated drives, with the message a drive
// that cannot write brings up.
#include "disc/DriveChecks.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "disc/DriveList.h"
#include "lang/LangText.h"
#include "tests/components/quarnel/integration/EmulatedRig.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

namespace quarnel::test {
namespace {

void NoWriting(emu::DriveSettings& settings) {
    settings.capabilities.cdR = false;
    settings.capabilities.cdRw = false;
    settings.capabilities.dvdRw = false;
    settings.capabilities.dvdPlusRw = false;
    settings.capabilities.dvdRam = false;
}

TEST(DriveChecks, ReadyExactlyWhenTheDriveHoldsADiscAndIsIdle) {
    EmulatedRig rig(emu::MediumKind::CdRw);
    EXPECT_FALSE(::disc::IsReady(nullptr));
    EXPECT_TRUE(::disc::IsReady(&rig.Device()));
    ASSERT_EQ(rig.Device().Blank(BLANK_MINIMAL), 0U);
    EXPECT_FALSE(::disc::IsReady(&rig.Device())) << "blanking";
    rig.WaitUntilReady();
    EXPECT_TRUE(::disc::IsReady(&rig.Device()));
    ASSERT_TRUE(rig.Emulated().RemoveDisc());
    EXPECT_FALSE(::disc::IsReady(&rig.Device()));
}

TEST(DriveChecks, AWriterNeedsNoMessage) {
    EmulatedRig rig;
    testsupport::ScriptedMessageBox box;
    const testsupport::ScopedMessageBoxHost host(box);
    EXPECT_TRUE(::disc::IsWriter(&rig.Device()));
    EXPECT_FALSE(::disc::IsWriter(nullptr));
    EXPECT_EQ(box.ShownCount(), 0U);
}

TEST(DriveChecks, AReaderIsNoWriterAndSaysSo) {
    EmulatedRig rig(emu::MediumKind::None, NoWriting);
    testsupport::ScriptedMessageBox box;
    const testsupport::ScopedMessageBoxHost host(box);
    CDevCmdROM* reader = rig.Drives().GetDequeItem(0);
    EXPECT_EQ(dynamic_cast<CDevCmdRW*>(reader), nullptr) << "listed as a reader";
    EXPECT_FALSE(::disc::IsWriter(reader));
    ASSERT_EQ(box.ShownCount(), 1U);
    EXPECT_EQ(box.ShownMessages()[0].text, lang::GetLangString("Message", 16));
    EXPECT_EQ(box.ShownMessages()[0].style, 64U);
}

TEST(DriveChecks, OnlyDvdPlusRwWritingLooksLikeNoWriterToThePage) {
    // Page 2Ah has no bit for DVD+RW; such a drive is judged by the other four.
    EmulatedRig rig(emu::MediumKind::None, [](emu::DriveSettings& settings) {
        NoWriting(settings);
        settings.capabilities.dvdPlusRw = true;
    });
    testsupport::ScriptedMessageBox box;
    const testsupport::ScopedMessageBoxHost host(box);
    EXPECT_FALSE(::disc::IsWriter(rig.Drives().GetDequeItem(0)));
    EXPECT_EQ(box.ShownCount(), 1U);
}

TEST(DriveChecks, DriveListEntriesCarryLetterAndInquiryText) {
    EmulatedRig rig;
    const std::vector<::disc::DriveEntry> entries = ::disc::ListDrives(rig.Drives());
    ASSERT_EQ(entries.size(), 1U);
    EXPECT_EQ(entries[0].text, "D: SONDREL EMULATED WRITER 1.00");
    EXPECT_EQ(entries[0].device, rig.Drives().GetDequeItem(0));
    EXPECT_EQ(::disc::DriveOfEntry(rig.Drives(), entries[0].text), entries[0].device);
    EXPECT_EQ(::disc::DriveOfEntry(rig.Drives(), "E: nothing"), nullptr);
    EXPECT_EQ(::disc::DriveOfEntry(rig.Drives(), ""), nullptr);
    EXPECT_EQ(::disc::DriveOfEntry(rig.Drives(), "d"), nullptr);
}

} // namespace
} // namespace quarnel::test
