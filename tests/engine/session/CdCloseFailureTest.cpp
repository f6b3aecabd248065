// A take whose cache flush or track close the drive refuses ends with
// message 30 naming the command and the drive's answer, instead of passing
// for a finished take.
#include "components/quarnel/MmcOpcodes.h"
#include "tests/engine/session/SessionFixture.h"

namespace {

class CdCloseFailure : public SessionFixture {
protected:
    void ExpectToldWhenRefused(std::uint8_t opcode, const std::string& said) {
        MakeDrive();
        quarnel::emu::FaultPlan faults = Emulated().Faults();
        faults.failCommands.push_back(opcode);
        Emulated().SetFaults(faults);
        RecordFor(4);
        EXPECT_EQ(MessageTexts(), std::vector<std::string>{Message(30) + "\n" + said +
                                                           ": sense 4/44/00 (drive failure)"});
        EXPECT_FALSE(Emulated().State().locked) << "the drive is let go all the same";
    }
};

TEST_F(CdCloseFailure, OfTheCacheFlushIsTold) {
    ExpectToldWhenRefused(quarnel::op::kSynchronizeCache, "SYNCHRONIZE CACHE");
}

TEST_F(CdCloseFailure, OfTheTrackCloseIsTold) {
    ExpectToldWhenRefused(quarnel::op::kCloseTrackSession, "CLOSE TRACK");
}

} // namespace
