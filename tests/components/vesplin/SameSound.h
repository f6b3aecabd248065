#pragma once
// The check that an MP3 file holds the test signal it was made from.

#include "tests/components/vesplin/DecodedMp3.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vesplintest {

constexpr std::size_t kMp3FrameSamples = 1152;

// The decoded file holds the signal: the same length to within one MP3 frame,
// every tone on its own channel, and no window anywhere (chunk boundaries
// included) where the sound departs from the signal.
void ExpectSameSound(const std::vector<std::int16_t>& original, const DecodedMp3& decoded);

} // namespace vesplintest
