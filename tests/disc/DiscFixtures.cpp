#include "tests/disc/DiscFixtures.h"

#include "components/quarnel/device/DeviceStatus.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iomanip>

namespace disc::test {

namespace {

void PutMsf(std::ostream& out, std::uint32_t frames) {
    out << std::setfill('0') << std::setw(2) << frames / 4500 << ':' << std::setw(2)
        << frames / 75 % 60 << ':' << std::setw(2) << frames % 75;
}

} // namespace

std::filesystem::path WriteMixedCue(const std::filesystem::path& folder, std::uint32_t blocks) {
    std::filesystem::create_directories(folder);
    std::ofstream bin(folder / "mixed.bin", std::ios::binary);
    const std::vector<std::uint8_t> audio = testsupport::AudioSectors(0, 4 * blocks, kMixedSeed);
    bin.write(reinterpret_cast<const char*>(audio.data()),
              static_cast<std::streamsize>(audio.size()));
    std::ofstream cue(folder / "mixed.cue");
    cue << "TITLE \"Mixed\"\nFILE \"mixed.bin\" BINARY\n";
    const char* titles[] = {"First", "Second"};
    for (std::uint32_t t = 0; t < 4; ++t) {
        cue << "  TRACK 0" << t + 1 << (t == 3 ? " MODE1/2352\n" : " AUDIO\n");
        if (t < 2) {
            cue << "    TITLE \"" << titles[t] << "\"\n";
        }
        cue << "    INDEX 01 ";
        PutMsf(cue, t * blocks);
        cue << '\n';
    }
    return folder / "mixed.cue";
}

void RecordTake(quarnel::test::EmulatedRig& rig, int track, int chunks, bool closeSession) {
    quarnel::CDevCmdRW& device = rig.Device();
    ASSERT_EQ(device.SetWriteParam(quarnel::WriteParam::AudioTrackAtOnce(true)),
              quarnel::status::kOk);
    unsigned long start = 0;
    ASSERT_EQ(device.GetNextWriteAdd(start), quarnel::status::kOk);
    quarnel::test::WriteChunks(device, start, chunks, static_cast<std::uint8_t>(track));
    ASSERT_EQ(device.SynCache(), quarnel::status::kOk);
    rig.WaitUntilReady();
    ASSERT_EQ(device.CloseTrack(track), quarnel::status::kOk);
    if (closeSession) {
        ASSERT_EQ(device.CloseSession(), quarnel::status::kOk);
        rig.WaitUntilReady();
    }
}

} // namespace disc::test
