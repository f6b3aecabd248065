#include "util/WavHeader.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

void put16(char* at, std::uint32_t value) {
    at[0] = static_cast<char>(value & 0xFFu);
    at[1] = static_cast<char>((value >> 8) & 0xFFu);
}

void put32(char* at, std::uint32_t value) {
    put16(at, value & 0xFFFFu);
    put16(at + 2, value >> 16);
}

// Chunk names and the form type: four characters, no terminating zero.
void putTag(char* at, std::string_view tag) {
    std::copy_n(tag.data(), 4, at);
}

std::uint32_t get16(const unsigned char* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8);
}

std::uint32_t get32(const unsigned char* at) {
    return get16(at) | (get16(at + 2) << 16);
}

} // namespace

namespace util {

std::array<char, kWavHeaderBytes> MakeWavHeader(const WavFormat& format, std::uint32_t dataBytes) {
    std::array<char, kWavHeaderBytes> header{};
    char* p = header.data();
    putTag(p, "RIFF");
    put32(p + 4, dataBytes > 0xFFFFFFFFu - 36 ? 0xFFFFFFFFu : dataBytes + 36);
    putTag(p + 8, "WAVE");
    putTag(p + 12, "fmt ");
    put32(p + 16, 16);
    put16(p + 20, format.formatTag);
    put16(p + 22, format.channels);
    put32(p + 24, format.samplesPerSecond);
    put32(p + 28, format.bytesPerSecond);
    put16(p + 32, format.blockAlign);
    put16(p + 34, format.bitsPerSample);
    putTag(p + 36, "data");
    put32(p + 40, dataBytes);
    return header;
}

std::optional<WavLayout> ReadWavLayout(std::FILE* file) {
    unsigned char riff[12];
    if (std::fseek(file, 0, SEEK_END) != 0) {
        return std::nullopt;
    }
    const long fileBytes = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0 || std::fread(riff, 1, 12, file) != 12 ||
        std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) {
        return std::nullopt;
    }
    WavLayout layout;
    bool haveFormat = false;
    unsigned char chunk[8];
    while (std::fread(chunk, 1, 8, file) == 8) {
        const std::uint32_t chunkBytes = get32(chunk + 4);
        const long body = std::ftell(file);
        if (std::memcmp(chunk, "fmt ", 4) == 0 && chunkBytes >= 16) {
            unsigned char fmt[16];
            if (std::fread(fmt, 1, 16, file) != 16) {
                return std::nullopt;
            }
            layout.format.formatTag = static_cast<std::uint16_t>(get16(fmt));
            layout.format.channels = static_cast<std::uint16_t>(get16(fmt + 2));
            layout.format.samplesPerSecond = get32(fmt + 4);
            layout.format.bytesPerSecond = get32(fmt + 8);
            layout.format.blockAlign = static_cast<std::uint16_t>(get16(fmt + 12));
            layout.format.bitsPerSample = static_cast<std::uint16_t>(get16(fmt + 14));
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) {
                return std::nullopt;
            }
            layout.dataOffset = body;
            const auto available = static_cast<std::uint32_t>(std::max(0L, fileBytes - body));
            layout.dataBytes = std::min(chunkBytes, available);
            return layout;
        }
        // Chunks are padded to an even length.
        const long next = body + static_cast<long>(chunkBytes) + static_cast<long>(chunkBytes & 1u);
        if (next > fileBytes || std::fseek(file, next, SEEK_SET) != 0) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace util
