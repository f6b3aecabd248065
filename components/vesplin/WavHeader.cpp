#include "components/vesplin/WavHeader.h"

#include "platform/wave/PcmFormat.h"
#include "platform/wave/WavHeader.h"

#include <algorithm>

namespace vesplin {

static_assert(kWavHeaderBytes == ::kWavHeaderBytes);

std::array<std::uint8_t, kWavHeaderBytes> MakeWavHeader(std::uint32_t dataBytes) {
    // The one writer of WAV headers lives with the wave service; CD audio is
    // the only format a saved track has.
    const std::array<char, kWavHeaderBytes> bytes = makeWavHeader(cdAudioFormat(), dataBytes);
    std::array<std::uint8_t, kWavHeaderBytes> header{};
    std::transform(bytes.begin(), bytes.end(), header.begin(),
                   [](char byte) { return static_cast<std::uint8_t>(byte); });
    return header;
}

} // namespace vesplin
