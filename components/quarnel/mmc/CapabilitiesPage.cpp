#include "components/quarnel/mmc/CapabilitiesPage.h"

#include "components/quarnel/mmc/ByteOrder.h"

namespace quarnel {

namespace {

bool Bit(std::uint8_t byte, int bit) {
    return ((byte >> bit) & 1) != 0;
}

} // namespace

Parsed<Capabilities> ParseCapabilitiesPage(std::span<const std::uint8_t> page) {
    if (page.size() < 7) {
        return Parsed<Capabilities>::Fail(ParseError::TooShort);
    }
    if ((page[0] & 0x3F) != kCapabilitiesPage) {
        return Parsed<Capabilities>::Fail(ParseError::WrongFormat);
    }
    Parsed<Capabilities> result;
    Capabilities& caps = result.value;
    caps.readCdR = Bit(page[2], 0);
    caps.readCdRw = Bit(page[2], 1);
    caps.readDvdRom = Bit(page[2], 3);
    caps.readDvdR = Bit(page[2], 4);
    caps.readDvdRam = Bit(page[2], 5);
    caps.writeCdR = Bit(page[3], 0);
    caps.writeCdRw = Bit(page[3], 1);
    caps.testWrite = Bit(page[3], 2);
    caps.writeDvdR = Bit(page[3], 4);
    caps.writeDvdRam = Bit(page[3], 5);
    caps.underrunProtection = Bit(page[4], 7);
    caps.cddaRead = Bit(page[5], 0);
    caps.cddaAccurate = Bit(page[5], 1);
    caps.lockSupported = Bit(page[6], 0);
    caps.ejectSupported = Bit(page[6], 3);
    caps.bufferKiB = GetBe16(page, 12);
    return result;
}

} // namespace quarnel
