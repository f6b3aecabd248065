#pragma once
// Mode page 2Ah, the drive's capabilities and mechanical status.

#include "components/quarnel/mmc/ParseResult.h"

#include <cstdint>
#include <span>

namespace quarnel {

inline constexpr std::uint8_t kCapabilitiesPage = 0x2A;

struct Capabilities {
    bool readCdR = false;
    bool readCdRw = false;
    bool readDvdRom = false;
    bool readDvdR = false;
    bool readDvdRam = false;
    bool writeCdR = false;
    bool writeCdRw = false;
    bool testWrite = false;
    bool writeDvdR = false;
    bool writeDvdRam = false;
    bool underrunProtection = false; // BUF: the drive offers underrun-free recording
    bool cddaRead = false;
    bool cddaAccurate = false;
    bool lockSupported = false;
    bool ejectSupported = false;
    std::uint16_t bufferKiB = 0; // 0 when the page is too short to say

    [[nodiscard]] bool CanWrite() const {
        return writeCdR || writeCdRw || writeDvdR || writeDvdRam;
    }
    [[nodiscard]] bool ReadsDvd() const { return readDvdRom || readDvdR || readDvdRam; }
};

// Takes the page itself (FindModePage); needs bytes 0-6.
[[nodiscard]] Parsed<Capabilities> ParseCapabilitiesPage(std::span<const std::uint8_t> page);

} // namespace quarnel
