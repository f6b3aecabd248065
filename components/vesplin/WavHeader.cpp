#include "components/vesplin/WavHeader.h"

#include <algorithm>

namespace vesplin {

namespace {

constexpr std::uint32_t kRateHz = 44100;
constexpr std::uint16_t kChannels = 2;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;

// The four characters of a chunk name (no terminating zero).
void PutName(std::uint8_t* at, const char (&name)[5]) {
    std::copy_n(name, 4, at);
}

void PutLe(std::uint8_t* at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

} // namespace

std::array<std::uint8_t, kWavHeaderBytes> MakeWavHeader(std::uint32_t dataBytes) {
    std::array<std::uint8_t, kWavHeaderBytes> header{};
    std::uint8_t* h = header.data();
    PutName(h, "RIFF");
    PutLe(h + 4, kWavHeaderBytes - 8 + dataBytes, 4);
    PutName(h + 8, "WAVE");
    PutName(h + 12, "fmt ");
    PutLe(h + 16, 16, 4); // size of the format chunk
    PutLe(h + 20, 1, 2);  // PCM
    PutLe(h + 22, kChannels, 2);
    PutLe(h + 24, kRateHz, 4);
    PutLe(h + 28, kRateHz * kBlockAlign, 4);
    PutLe(h + 32, kBlockAlign, 2);
    PutLe(h + 34, kBitsPerSample, 2);
    PutName(h + 36, "data");
    PutLe(h + 40, dataBytes, 4);
    return header;
}

} // namespace vesplin
