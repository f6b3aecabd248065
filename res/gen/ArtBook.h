#pragma once
// Draws the picture of one catalogue entry.

#include "res/ArtworkCatalog.h"

#include <QImage>

namespace artgen {

// The picture for `entry`; a null image for a number the book does not know.
[[nodiscard]] QImage DrawArt(const res::ArtEntry& entry);

} // namespace artgen
