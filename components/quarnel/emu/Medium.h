#pragma once
// The kinds of disc the emulated writer can hold and what each of them is like.

#include <cstdint>
#include <optional>
#include <string_view>

namespace quarnel::emu {

enum class MediumKind : std::uint8_t { None, CdR, CdRw, DvdRw, DvdPlusRw, DvdRam, PressedCd };

struct MediumTraits {
    MediumKind kind = MediumKind::None;
    std::string_view name;     // in state files and on the command line
    std::uint16_t profile = 0; // MMC profile the drive reports as current
    std::uint32_t blockBytes = 0;
    std::uint32_t capacityBlocks = 0; // last possible lead-out start; 0 = the image's own size
    bool cd = false;
    bool erasable = false;
    // Written at any address (DVD+RW, DVD-RAM) rather than only at the next writable address.
    bool randomWritable = false;
    bool writable = false;
};

// 80-minute CD: the last possible lead-out starts at 79:59:74.
inline constexpr std::uint32_t kCdCapacityBlocks = 359'849;

[[nodiscard]] const MediumTraits& TraitsOf(MediumKind kind);
[[nodiscard]] std::optional<MediumKind> MediumKindFromName(std::string_view name);

} // namespace quarnel::emu
