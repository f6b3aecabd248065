#pragma once
// Discs for the disc logic tests: a pressed CD with three audio tracks (the
// first two titled) and a data track, and takes recorded onto a CD-R.

#include "tests/components/quarnel/integration/EmulatedRig.h"

#include <cstdint>
#include <filesystem>

namespace disc::test {

// Writes mixed.cue and mixed.bin into `folder`: tracks 1-3 audio, track 4
// MODE1, each `blocks` sectors, with the bytes of testsupport::AudioSectors(0, ..,
// kMixedSeed). Returns the sheet's path.
inline constexpr std::uint8_t kMixedSeed = 3;
std::filesystem::path WriteMixedCue(const std::filesystem::path& folder, std::uint32_t blocks);

// One track-at-once take of `chunks` 16-sector writes, closed, its session
// closed when asked (left open for more).
void RecordTake(quarnel::test::EmulatedRig& rig, int track, int chunks, bool closeSession);

} // namespace disc::test
