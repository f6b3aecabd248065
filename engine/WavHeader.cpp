#include "engine/WavHeader.h"

#include "util/WavHeader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string_view>

namespace {

using Header = std::array<char, kTakeWavHeaderBytes>;

void putLittleEndian(Header& header, std::size_t at, std::uint64_t value, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) {
        header.at(at + i) = static_cast<char>((value >> (8 * i)) & 0xFFu);
    }
}

void putTag(Header& header, std::size_t at, std::string_view tag) {
    std::copy(tag.begin(), tag.end(), header.begin() + static_cast<std::ptrdiff_t>(at));
}

constexpr std::size_t kRiffSizeAt = 4;
constexpr std::size_t kReservedChunkAt = 12; // JUNK, or ds64 in an RF64 file
constexpr std::size_t kReservedBodyBytes = 28;
constexpr std::size_t kFormatChunkAt = 48;
constexpr std::size_t kDataSizeAt = 76;
// The RIFF size counts everything after its own field.
constexpr std::uint64_t kRiffSizeOverPcm = kTakeWavHeaderBytes - 8;
constexpr std::uint64_t kMax32 = 0xFFFFFFFFu;

} // namespace

bool TakeNeedsRf64(std::uint64_t pcmBytes) {
    return pcmBytes + kRiffSizeOverPcm > kMax32;
}

Header MakeTakeWavHeader(std::uint64_t pcmBytes, bool rf64) {
    Header header{};
    // The plain header's "fmt " and "data" chunks, moved behind the reserved one.
    const std::array<char, util::kWavHeaderBytes> plain = util::MakeWavHeader(
        util::kCdAudioWavFormat, static_cast<std::uint32_t>(std::min(pcmBytes, kMax32)));
    constexpr std::size_t kPlainFormatAt = 12;
    std::copy(plain.begin() + kPlainFormatAt, plain.end(),
              header.begin() + static_cast<std::ptrdiff_t>(kFormatChunkAt));
    putTag(header, 0, rf64 ? "RF64" : "RIFF");
    putTag(header, 8, "WAVE");
    putTag(header, kReservedChunkAt, rf64 ? "ds64" : "JUNK");
    putLittleEndian(header, kReservedChunkAt + 4, kReservedBodyBytes, 4);
    const std::uint64_t riffBytes = pcmBytes + kRiffSizeOverPcm;
    if (rf64) {
        const std::size_t body = kReservedChunkAt + 8;
        putLittleEndian(header, body, riffBytes, 8);
        putLittleEndian(header, body + 8, pcmBytes, 8);
        putLittleEndian(header, body + 16, pcmBytes / util::kCdAudioWavFormat.blockAlign, 8);
        // The table length that follows stays 0: no other chunk passes 4 GiB.
        putLittleEndian(header, kRiffSizeAt, kMax32, 4);
        putLittleEndian(header, kDataSizeAt, kMax32, 4);
    } else {
        putLittleEndian(header, kRiffSizeAt, std::min(riffBytes, kMax32), 4);
    }
    return header;
}

bool CreateWavFile(const std::string& path) {
    Header header = MakeTakeWavHeader(kWavPlaceholderDataBytes, false);
    // The RIFF size placeholder is the data placeholder plus 44, not the
    // size a finished file of that much sound has.
    putLittleEndian(header, kRiffSizeAt, kWavPlaceholderRiffBytes, 4);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    const bool written =
        ::write(fd, header.data(), header.size()) == static_cast<ssize_t>(header.size());
    return ::close(fd) == 0 && written;
}

bool PatchWavSizes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat status {};
    bool ok = ::fstat(fd, &status) == 0;
    const auto length = static_cast<std::uint64_t>(ok ? status.st_size : 0);
    if (ok && length > kTakeWavHeaderBytes) {
        // A write cut short by a full disk can end inside a frame: the file
        // keeps whole frames only.
        const std::uint64_t frameBytes = util::kCdAudioWavFormat.blockAlign;
        const std::uint64_t pcm = (length - kTakeWavHeaderBytes) / frameBytes * frameBytes;
        if (kTakeWavHeaderBytes + pcm != length) {
            ok = ::ftruncate(fd, static_cast<off_t>(kTakeWavHeaderBytes + pcm)) == 0;
        }
        const Header header = MakeTakeWavHeader(pcm, TakeNeedsRf64(pcm));
        ok = ok &&
             ::pwrite(fd, header.data(), header.size(), 0) == static_cast<ssize_t>(header.size());
    }
    return ::close(fd) == 0 && ok;
}

bool IsTakeWavFile(const std::string& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        return false;
    }
    const std::optional<util::WavLayout> layout = util::ReadWavLayout(file.get());
    if (!layout || layout->dataOffset != static_cast<long>(kTakeWavHeaderBytes)) {
        return false;
    }
    const util::WavFormat& format = layout->format;
    const util::WavFormat& cd = util::kCdAudioWavFormat;
    return format.formatTag == cd.formatTag && format.channels == cd.channels &&
           format.samplesPerSecond == cd.samplesPerSecond && format.blockAlign == cd.blockAlign &&
           format.bitsPerSample == cd.bitsPerSample;
}
