#pragma once
// A 0x00BBGGRR colour as a Qt colour, for the windows that draw by skin.

#include "skin/SkinTable.h"

#include <QColor>

namespace skin {

[[nodiscard]] inline QColor ToQColor(COLORREF colour) {
    return QColor(static_cast<int>(GetRValue(colour)), static_cast<int>(GetGValue(colour)),
                  static_cast<int>(GetBValue(colour)));
}

} // namespace skin
