#pragma once
// The four skins: background picture, the five skin buttons' pictures and the
// skin colour (0x00BBGGRR).

#include <array>
#include <cstdint>
#include <optional>

namespace skin {

using COLORREF = std::uint32_t;

[[nodiscard]] constexpr COLORREF RGB(unsigned red, unsigned green, unsigned blue) noexcept {
    return (red & 0xFFu) | ((green & 0xFFu) << 8) | ((blue & 0xFFu) << 16);
}
[[nodiscard]] constexpr unsigned GetRValue(COLORREF colour) noexcept {
    return colour & 0xFFu;
}
[[nodiscard]] constexpr unsigned GetGValue(COLORREF colour) noexcept {
    return (colour >> 8) & 0xFFu;
}
[[nodiscard]] constexpr unsigned GetBValue(COLORREF colour) noexcept {
    return (colour >> 16) & 0xFFu;
}

struct SkinEntry {
    int index = 0;
    unsigned background = 0;
    unsigned skinButton = 0;  // 1044
    unsigned minButton = 0;   // 1035
    unsigned closeButton = 0; // 1036
    unsigned helpButton = 0;  // 1034
    unsigned aboutButton = 0; // 1033
    COLORREF colour = 0;
};

inline constexpr int kSkinCount = 4;

inline constexpr std::array<SkinEntry, kSkinCount> g_skinTable = {{
    {1, 145, 183, 148, 149, 150, 151, RGB(12, 16, 23)},
    {2, 182, 184, 187, 188, 189, 186, RGB(227, 227, 227)},
    {3, 205, 209, 207, 201, 203, 199, RGB(249, 120, 69)},
    {4, 206, 210, 208, 202, 204, 200, RGB(249, 143, 218)},
}};

// The entry of skin `index`; none outside 1 to 4.
[[nodiscard]] constexpr std::optional<SkinEntry> FindSkin(int index) {
    if (index < 1 || index > kSkinCount) {
        return std::nullopt;
    }
    return g_skinTable[static_cast<std::size_t>(index - 1)];
}

} // namespace skin
