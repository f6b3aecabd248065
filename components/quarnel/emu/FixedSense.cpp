#include "components/quarnel/emu/FixedSense.h"

#include "components/quarnel/mmc/ByteOrder.h"

namespace quarnel::emu {

FixedSenseBytes BuildFixedSense(SenseCode code, std::optional<std::uint16_t> progress) {
    FixedSenseBytes out{};
    out[0] = 0x70;
    out[2] = code.key & 0x0F;
    out[7] = kFixedSenseBytes - 8;
    out[12] = code.asc;
    out[13] = code.ascq;
    if (progress) {
        out[15] = 0x80; // SKSV
        PutBe16(out, 16, *progress);
    }
    return out;
}

} // namespace quarnel::emu
