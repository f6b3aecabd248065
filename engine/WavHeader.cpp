#include "engine/WavHeader.h"

#include "util/WavHeader.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace {

std::array<char, 4> littleEndian32(std::uint32_t value) {
    return {static_cast<char>(value & 0xFFu), static_cast<char>((value >> 8) & 0xFFu),
            static_cast<char>((value >> 16) & 0xFFu), static_cast<char>((value >> 24) & 0xFFu)};
}

constexpr std::streamoff kRiffSizeOffset = 4;
constexpr std::streamoff kDataSizeOffset = 40;

} // namespace

bool CreateWavFile(const std::string& path) {
    std::array<char, util::kWavHeaderBytes> header =
        util::MakeWavHeader(util::kCdAudioWavFormat, kWavPlaceholderDataBytes);
    // The RIFF size placeholder is the data placeholder plus the whole
    // header, not plus 36 as a finished file has it.
    const std::array<char, 4> riff = littleEndian32(kWavPlaceholderRiffBytes);
    std::copy(riff.begin(), riff.end(), header.begin() + kRiffSizeOffset);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(header.data(), static_cast<std::streamsize>(header.size()));
    return static_cast<bool>(file.flush());
}

bool PatchWavSizes(const std::string& path) {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!file) {
        return false;
    }
    file.seekg(0, std::ios::end);
    const std::streamoff length = file.tellg();
    if (length < 0) {
        return false;
    }
    if (length <= static_cast<std::streamoff>(util::kWavHeaderBytes)) {
        return true;
    }
    // The header's fields are 32 bits wide; a longer file gets the low bits.
    const std::array<char, 4> riff = littleEndian32(static_cast<std::uint32_t>(length - 8));
    const std::array<char, 4> data = littleEndian32(
        static_cast<std::uint32_t>(length - static_cast<std::streamoff>(util::kWavHeaderBytes)));
    file.seekp(kRiffSizeOffset);
    file.write(riff.data(), 4);
    file.seekp(kDataSizeOffset);
    file.write(data.data(), 4);
    return static_cast<bool>(file.flush());
}
