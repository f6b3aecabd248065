#include "engine/WavHeader.h"

#include "platform/wave/PcmFormat.h"
#include "platform/wave/WavHeader.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::array<char, 4> littleEndian32(std::uint32_t value) {
    return {static_cast<char>(value & 0xFFu), static_cast<char>((value >> 8) & 0xFFu),
            static_cast<char>((value >> 16) & 0xFFu), static_cast<char>((value >> 24) & 0xFFu)};
}

constexpr std::streamoff kRiffSizeOffset = 4;
constexpr std::streamoff kDataSizeOffset = 40;

} // namespace

bool CreateWavFile(const std::string& path) {
    std::array<char, kWavHeaderBytes> header =
        makeWavHeader(cdAudioFormat(), kWavPlaceholderDataBytes);
    // The RIFF size placeholder is the data placeholder plus the whole
    // header, not plus 36 as a finished file has it.
    const std::array<char, 4> riff = littleEndian32(kWavPlaceholderRiffBytes);
    std::copy(riff.begin(), riff.end(), header.begin() + kRiffSizeOffset);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(header.data(), static_cast<std::streamsize>(header.size()));
    return static_cast<bool>(file.flush());
}

bool PatchWavSizes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat status {};
    bool ok = ::fstat(fd, &status) == 0;
    const auto length = static_cast<std::uint64_t>(ok ? status.st_size : 0);
    if (ok && length > kWavHeaderBytes) {
        // A write cut short by a full disk can end inside a frame: the file
        // keeps whole frames only.
        const std::uint64_t frameBytes = cdAudioFormat().nBlockAlign;
        const std::uint64_t pcm = (length - kWavHeaderBytes) / frameBytes * frameBytes;
        const std::uint64_t kept = kWavHeaderBytes + pcm;
        if (kept != length) {
            ok = ::ftruncate(fd, static_cast<off_t>(kept)) == 0;
        }
        // The header's fields are 32 bits wide; a longer file gets the low bits.
        const std::array<char, 4> riff = littleEndian32(static_cast<std::uint32_t>(kept - 8));
        const std::array<char, 4> data = littleEndian32(static_cast<std::uint32_t>(pcm));
        ok = ok && ::pwrite(fd, riff.data(), riff.size(), kRiffSizeOffset) == 4 &&
             ::pwrite(fd, data.data(), data.size(), kDataSizeOffset) == 4;
    }
    return ::close(fd) == 0 && ok;
}

bool IsTakeWavFile(const std::string& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        return false;
    }
    const std::optional<WavLayout> layout = readWavLayout(file.get());
    return layout && layout->dataOffset == static_cast<long>(kWavHeaderBytes) &&
           isSameFormat(layout->format, cdAudioFormat());
}
