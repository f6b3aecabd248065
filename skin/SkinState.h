#pragma once
// The program-wide skin state: the current skin and its colour.

#include "skin/SkinTable.h"

#include <cstdint>

// Current skin, 1 to 4; read from the settings when the main window is built.
extern std::int32_t g_skinIndex;
// The skin colour; skin 1's colour until a skin is loaded.
extern skin::COLORREF g_skinColor;

namespace skin {

// The skin after `skinIndex`: one more while below 4, else 1, so 1 to 4 cycle
// and a stored 7 goes back to 1.
[[nodiscard]] constexpr std::int32_t NextSkinIndex(std::int32_t skinIndex) {
    return skinIndex < kSkinCount ? skinIndex + 1 : 1;
}

} // namespace skin
