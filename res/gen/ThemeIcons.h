#pragma once
// The program's icon for the desktop's icon theme (hicolor), at the sizes
// desktops ask for.

#include <QString>

namespace artgen {

// Writes `<folder>/<N>x<N>/apps/sondrel.png` for every size; false (and a
// message on stderr) when one cannot be written.
[[nodiscard]] bool WriteThemeIcons(const QString& folder);

} // namespace artgen
