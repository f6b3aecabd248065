#include "components/quarnel/emu/CapabilitiesPage.h"

#include "components/quarnel/mmc/ByteOrder.h"

#include <algorithm>

namespace quarnel::emu {

namespace {

constexpr std::uint32_t kUnlimitedShownAsX = 52;
constexpr std::uint8_t kTrayLoader = 0x20; // loading mechanism 001b

std::uint8_t Bit(bool set, int bit) {
    return static_cast<std::uint8_t>(set ? 1U << bit : 0U);
}

} // namespace

std::uint16_t SpeedKBps(std::uint32_t speedX) {
    const std::uint32_t x = speedX == 0 ? kUnlimitedShownAsX : speedX;
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(x * kCdSpeed1xKBps, 0xFFFF));
}

std::array<std::uint8_t, kCapabilitiesPageBytes>
BuildCapabilitiesPage(const DriveSettings& settings, std::uint32_t currentWriteSpeedX,
                      bool locked) {
    const DriveCapabilities& caps = settings.capabilities;
    const bool dvd = caps.dvdRw || caps.dvdPlusRw || caps.dvdRam;
    std::array<std::uint8_t, kCapabilitiesPageBytes> page{};
    page[0] = 0x2A;
    page[1] = kCapabilitiesPageBytes - 2;
    page[2] = static_cast<std::uint8_t>(Bit(true, 0) | Bit(true, 1) | Bit(dvd, 3) |
                                        Bit(caps.dvdRw, 4) | Bit(caps.dvdRam, 5));
    page[3] =
        static_cast<std::uint8_t>(Bit(caps.cdR, 0) | Bit(caps.cdRw, 1) | Bit(caps.testWrite, 2) |
                                  Bit(caps.dvdRw, 4) | Bit(caps.dvdRam, 5));
    page[4] =
        static_cast<std::uint8_t>(Bit(caps.underrunProtection, 7) | Bit(true, 6) | Bit(true, 0));
    // CD-DA reads, accurately, with R-W, C2 pointers, ISRC and media catalogue number.
    page[5] = static_cast<std::uint8_t>(Bit(true, 0) | Bit(true, 1) | Bit(true, 2) | Bit(true, 4) |
                                        Bit(true, 5) | Bit(true, 6));
    page[6] = static_cast<std::uint8_t>(kTrayLoader | Bit(caps.eject, 3) | Bit(locked, 1) |
                                        Bit(caps.lock, 0));
    const std::uint16_t maxWrite = SpeedKBps(settings.writeSpeedX);
    const std::uint16_t currentWrite = SpeedKBps(currentWriteSpeedX);
    const std::uint16_t maxRead = SpeedKBps(kUnlimitedShownAsX);
    PutBe16(page, 8, maxRead);
    PutBe16(page, 10, 256); // volume levels
    PutBe16(page, 12,
            static_cast<std::uint16_t>(std::min<std::uint32_t>(settings.bufferKib, 0xFFFF)));
    PutBe16(page, 14, maxRead);
    PutBe16(page, 18, maxWrite);
    PutBe16(page, 20, currentWrite);
    PutBe16(page, 28, currentWrite);
    PutBe16(page, 30, 1);
    PutBe16(page, 34, maxWrite);
    return page;
}

} // namespace quarnel::emu
