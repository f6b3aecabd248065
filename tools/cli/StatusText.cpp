#include "tools/cli/StatusText.h"

#include <array>
#include <cstdio>

namespace cli {

namespace {

std::string Format(const char* format, unsigned a, unsigned b = 0, unsigned c = 0) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), format, a, b, c);
    return text.data();
}

} // namespace

std::string MediumName(quarnel::MEDIUM_TYPE medium) {
    switch (medium) {
    case quarnel::MEDIUM_NONE:
        return "no disc";
    case quarnel::MEDIUM_CD_ROM:
        return "CD-ROM";
    case quarnel::MEDIUM_CD_R:
        return "CD-R";
    case quarnel::MEDIUM_CD_RW:
        return "CD-RW";
    case quarnel::MEDIUM_DVD_ROM:
        return "DVD-ROM";
    case quarnel::MEDIUM_DVD_R:
        return "DVD-R";
    case quarnel::MEDIUM_DVD_RAM:
        return "DVD-RAM";
    case quarnel::MEDIUM_DVD_RW_RESTRICTED:
    case quarnel::MEDIUM_DVD_RW_SEQUENTIAL:
    case quarnel::MEDIUM_DVD_RW_EITHER:
        return "DVD-RW";
    case quarnel::MEDIUM_DVD_PLUS_RW:
        return "DVD+RW";
    case quarnel::MEDIUM_DVD_PLUS_R:
        return "DVD+R";
    }
    return Format("profile 0x%04X", medium);
}

} // namespace cli
