#include "components/quarnel/emu/Medium.h"

#include <array>

namespace quarnel::emu {

namespace {

constexpr std::uint32_t kCdBlockBytes = 2352;
constexpr std::uint32_t kDvdBlockBytes = 2048;

constexpr std::array<MediumTraits, 7> kTraits{{
    {MediumKind::None, "none", 0x0000, 0, 0, false, false, false, false},
    {MediumKind::CdR, "cd-r", 0x0009, kCdBlockBytes, kCdCapacityBlocks, true, false, false, true},
    {MediumKind::CdRw, "cd-rw", 0x000A, kCdBlockBytes, kCdCapacityBlocks, true, true, false, true},
    {MediumKind::DvdRw, "dvd-rw", 0x0014, kDvdBlockBytes, 2'297'888, false, true, false, true},
    {MediumKind::DvdPlusRw, "dvd+rw", 0x001A, kDvdBlockBytes, 2'295'104, false, true, true, true},
    {MediumKind::DvdRam, "dvd-ram", 0x0012, kDvdBlockBytes, 2'236'704, false, true, true, true},
    {MediumKind::PressedCd, "cd-rom", 0x0008, kCdBlockBytes, 0, true, false, false, false},
}};

} // namespace

const MediumTraits& TraitsOf(MediumKind kind) {
    return kTraits.at(static_cast<std::size_t>(kind));
}

std::optional<MediumKind> MediumKindFromName(std::string_view name) {
    for (const MediumTraits& traits : kTraits) {
        if (traits.name == name) {
            return traits.kind;
        }
    }
    return std::nullopt;
}

} // namespace quarnel::emu
