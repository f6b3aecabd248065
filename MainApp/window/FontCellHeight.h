#pragma once
// Font heights as the window's fonts are specified: the height of the whole
// character cell (ascent plus descent), not the em size that Qt's pixel size
// sets, which is the larger of the two for most faces.

#include <QFont>

namespace window {

// Sets `font`'s pixel size so that its character cell is `cellPixels` high
// (at least 1 pixel).
void SetCellHeight(QFont& font, int cellPixels);

} // namespace window
