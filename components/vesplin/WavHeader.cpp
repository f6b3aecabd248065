#include "components/vesplin/WavHeader.h"

#include "util/WavHeader.h"

#include <algorithm>

namespace vesplin {

static_assert(kWavHeaderBytes == util::kWavHeaderBytes);

std::array<std::uint8_t, kWavHeaderBytes> MakeWavHeader(std::uint32_t dataBytes) {
    // CD audio is the only format a saved track has.
    const std::array<char, kWavHeaderBytes> bytes =
        util::MakeWavHeader(util::kCdAudioWavFormat, dataBytes);
    std::array<std::uint8_t, kWavHeaderBytes> header{};
    std::transform(bytes.begin(), bytes.end(), header.begin(),
                   [](char byte) { return static_cast<std::uint8_t>(byte); });
    return header;
}

} // namespace vesplin
