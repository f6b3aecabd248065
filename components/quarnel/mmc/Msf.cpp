#include "components/quarnel/mmc/Msf.h"

namespace quarnel {

std::uint32_t MsfToLba(Msf msf) {
    if (msf.minutes == 0xFF && msf.seconds == 0xFF && msf.frames == 0xFF) {
        return kNoAddress;
    }
    if (msf.minutes == 0 && msf.seconds == 0 && msf.frames == 0) {
        return 0;
    }
    const std::uint32_t frames =
        (std::uint32_t{msf.minutes} * 60 + msf.seconds) * kFramesPerSecond + msf.frames;
    return msf.minutes < 90 ? frames - kPregapFrames : frames - 450150;
}

Msf LbaToMsf(std::uint32_t lba) {
    const std::uint32_t frames = lba + kPregapFrames;
    Msf msf;
    msf.minutes = static_cast<std::uint8_t>(frames / (60 * kFramesPerSecond));
    msf.seconds = static_cast<std::uint8_t>(frames / kFramesPerSecond % 60);
    msf.frames = static_cast<std::uint8_t>(frames % kFramesPerSecond);
    return msf;
}

} // namespace quarnel
