#include "engine/session/WavClipScan.h"

#include "engine/WavHeader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>

namespace engine {

void WavClipScan::Begin() {
    m_clips.Reset();
    m_scannedBytes = 0;
}

void WavClipScan::Scan(const std::string& path) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) {
        return;
    }
    std::array<std::uint8_t, 65536> chunk{};
    for (;;) {
        const auto at = static_cast<off_t>(kTakeWavHeaderBytes + m_scannedBytes);
        const ssize_t got = ::pread(file, chunk.data(), chunk.size(), at);
        if (got <= 0) {
            break;
        }
        m_clips.Count({chunk.data(), static_cast<std::size_t>(got)});
        m_scannedBytes += static_cast<std::uint64_t>(got);
    }
    ::close(file);
}

} // namespace engine
