// Erasing each kind of disc in the emulated writer through the MMC layer: the
// refusals with their messages, the blanking bar's course, formatting and
// zero-writing to the end with the tray opened, and a disc that takes no writes.
#include "disc/DiscEraser.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "disc/TrackListReader.h"
#include "disc/TrackRowsTable.h"
#include "lang/LangText.h"
#include "tests/disc/DiscFixtures.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace disc {
namespace {

using quarnel::emu::MediumKind;
using quarnel::test::EmulatedRig;

constexpr int kMaxTicks = 100'000;

std::string Text(int key) {
    return lang::GetLangString("Message", key);
}

std::vector<std::string> Shown(const testsupport::ScriptedMessageBox& box) {
    std::vector<std::string> texts;
    for (const auto& shown : box.ShownMessages()) {
        texts.push_back(shown.text);
        EXPECT_EQ(shown.style & util::MB_ICONINFORMATION, util::MB_ICONINFORMATION);
    }
    return texts;
}

// The drive's waits advance the emulated drive's clock instead of sleeping.
DiscEraser::Sleep ClockSleep(EmulatedRig& rig) {
    return [&rig](int ms) { rig.Clock().Advance(std::chrono::milliseconds(ms)); };
}

// Ticks as timer 3 does, one emulated second apart, until the eraser
// finishes; the bar positions in order.
std::vector<int> RunTimer(EmulatedRig& rig, DiscEraser& eraser) {
    std::vector<int> bar;
    int position = 0;
    for (int tick = 0; tick < kMaxTicks; ++tick) {
        const EraseTick result = eraser.Tick(position);
        position = result.position;
        bar.push_back(position);
        if (result.finished) {
            return bar;
        }
        rig.Clock().Advance(std::chrono::seconds(1));
        std::this_thread::yield(); // the zero-writer runs meanwhile
    }
    ADD_FAILURE() << "the erase never finished";
    return bar;
}

TEST(DiscEraser, RefusalsShowOneMessageEach) {
    {
        EmulatedRig rig(MediumKind::CdR);
        testsupport::ScriptedMessageBox box({util::IDOK});
        const testsupport::ScopedMessageBoxHost host(box);
        DiscEraser eraser;
        EXPECT_FALSE(eraser.Begin(nullptr));
        EXPECT_FALSE(eraser.Begin(&rig.Device())) << "a CD-R cannot be erased";
        EXPECT_EQ(Shown(box), (std::vector<std::string>{Text(4), Text(2)}))
            << "the medium is looked at after the confirmation";
        EXPECT_EQ(box.ShownMessages()[0].style, util::MB_OKCANCEL | util::MB_ICONINFORMATION);
    }
    {
        EmulatedRig rig(MediumKind::None);
        testsupport::ScriptedMessageBox box;
        const testsupport::ScopedMessageBoxHost host(box);
        ASSERT_TRUE(rig.Emulated().LoadBlank(MediumKind::CdRw));
        ASSERT_TRUE(rig.Emulated().RemoveDisc());
        ASSERT_EQ(rig.Device().Eject(false), 0U);
        DiscEraser eraser;
        EXPECT_FALSE(eraser.Begin(&rig.Device()));
        EXPECT_EQ(Shown(box), (std::vector<std::string>{Text(3)}));
        EXPECT_TRUE(rig.Emulated().State().trayOpen) << "not ready: the tray opens";
    }
    {
        EmulatedRig rig(MediumKind::CdRw);
        testsupport::ScriptedMessageBox box({util::IDCANCEL});
        const testsupport::ScopedMessageBoxHost host(box);
        DiscEraser eraser;
        EXPECT_FALSE(eraser.Begin(&rig.Device()));
        EXPECT_EQ(box.ShownCount(), 1U);
        EXPECT_EQ(rig.Device().TestUnitReady(), 0U) << "cancelled: the drive was left alone";
    }
}

TEST(DiscEraser, ALongBlankCreepsTo98AndJumpsTo100WhenTheDriveIsReady) {
    // Minimal blanking of a CD takes 25 s; six times that is 150 s.
    EmulatedRig rig(MediumKind::CdRw, [](quarnel::emu::DriveSettings& s) { s.timeScale = 6; });
    test::RecordTake(rig, 1, 4, true);
    testsupport::ScriptedMessageBox box;
    const testsupport::ScopedMessageBoxHost host(box);
    DiscEraser eraser(ClockSleep(rig));
    ASSERT_TRUE(eraser.Begin(&rig.Device()));

    const std::vector<int> bar = RunTimer(rig, eraser);
    ASSERT_GE(bar.size(), 149U);
    ASSERT_LE(bar.size(), 152U);
    for (std::size_t tick = 0; tick + 1 < bar.size(); ++tick) {
        EXPECT_EQ(bar[tick], std::min<int>(static_cast<int>(tick) + 1, 98)) << "tick " << tick;
    }
    EXPECT_EQ(bar.back(), 100);
    EXPECT_EQ(eraser.ZeroWriteCount(), 0);
    EXPECT_TRUE(rig.Emulated().State().trayOpen);
    ASSERT_EQ(rig.Device().Eject(false), 0U);
    TrackRowsTable rows;
    TrackAddressTable addresses;
    TrackListReader(rows, addresses).ReadDisc(&rig.Device());
    EXPECT_EQ(rows.RowCount(), 0) << "the take is gone";
}

// Ticks until the erase finishes; the last tick.
EraseTick FinalTick(EmulatedRig& rig, DiscEraser& eraser) {
    EraseTick tick;
    for (int count = 0; count < kMaxTicks && !tick.finished; ++count) {
        tick = eraser.Tick(tick.position);
        rig.Clock().Advance(std::chrono::seconds(1));
        std::this_thread::yield();
    }
    return tick;
}

TEST(DiscEraser, ZeroWritingWaitsOutAFullBufferAndOverwritesEverySector) {
    for (const MediumKind medium : {MediumKind::DvdPlusRw, MediumKind::DvdRam}) {
        const testsupport::TempFolder temp;
        const std::string log = temp.Path() + "/scsi.log";
        ::setenv("SONDREL_SCSI_LOG", log.c_str(), 1); // NOLINT(concurrency-mt-unsafe)
        // A slow drive with a small buffer answers most writes "long write in progress".
        EmulatedRig rig(medium, [](quarnel::emu::DriveSettings& s) {
            s.writeSpeedX = 1;
            s.bufferKib = 256;
        });
        ::unsetenv("SONDREL_SCSI_LOG"); // NOLINT(concurrency-mt-unsafe)
        testsupport::ScriptedMessageBox box;
        const testsupport::ScopedMessageBoxHost host(box);
        DiscEraser eraser(ClockSleep(rig));
        ASSERT_TRUE(eraser.Begin(&rig.Device()));
        const EraseTick tick = FinalTick(rig, eraser);
        EXPECT_TRUE(tick.finished && tick.erased);
        EXPECT_EQ(std::filesystem::file_size(rig.Parent() / "writer" / "disc.bin"),
                  std::uintmax_t{1632} * 2048)
            << "every sector of the erase reached the disc";
        EXPECT_EQ(box.ShownCount(), 1U) << "only the confirmation";
        std::stringstream sent;
        sent << std::ifstream(log).rdbuf();
        EXPECT_NE(sent.str().find(" cdb 35 "), std::string::npos) << "the cache is flushed";
        EXPECT_EQ(sent.str().find(" cdb 5B "), std::string::npos)
            << "overwritable discs take no CLOSE SESSION";
        if (medium == MediumKind::DvdPlusRw) {
            EXPECT_NE(sent.str().find(" cdb 04 11 00 00 00 00 | out 12 "), std::string::npos)
                << "formatted with a parameter list";
        }
    }
}

TEST(DiscEraser, ADiscThatTakesNoWritesFinishesSayingNotErasedWithTheDrivesAnswer) {
    EmulatedRig rig(MediumKind::DvdRam);
    quarnel::emu::FaultPlan faults;
    faults.failWritesFrom = 0;
    rig.Emulated().SetFaults(faults);
    testsupport::ScriptedMessageBox box;
    const testsupport::ScopedMessageBoxHost host(box);
    DiscEraser eraser(ClockSleep(rig));
    ASSERT_TRUE(eraser.Begin(&rig.Device()));
    const EraseTick tick = FinalTick(rig, eraser);
    EXPECT_TRUE(tick.finished);
    EXPECT_EQ(tick.position, 100);
    EXPECT_FALSE(tick.erased);
    EXPECT_EQ(eraser.ZeroWriteCount(), DiscEraser::kWorkerDone);
    EXPECT_TRUE(rig.Emulated().State().trayOpen);
    EXPECT_EQ(Shown(box), (std::vector<std::string>{
                              Text(4), Text(5) + "\nWRITE at 0: sense 3/0C/00 (write error)"}));
}

} // namespace
} // namespace disc
