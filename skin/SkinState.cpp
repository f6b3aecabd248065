#include "skin/SkinState.h"

std::int32_t g_skinIndex = 1;
skin::COLORREF g_skinColor = skin::RGB(12, 16, 23);
