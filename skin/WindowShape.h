#pragma once
// The main window's shape from the shape bitmap: the window's rectangle with
// every pure white pixel of the bitmap toggled out of it.

#include <QImage>
#include <QRegion>

namespace skin {

// The region of a window `width` x `height` shaped by `shape`. Every position
// (x, y) with 0 <= x <= width and 0 <= y <= height (both bounds included) where
// `shape` has a pure white pixel is toggled: inside the window it is removed,
// on the right or bottom bound it is added. Positions outside `shape` change
// nothing. Built row by row in one pass over the pixels.
[[nodiscard]] QRegion WindowShapeRegion(const QImage& shape, int width, int height);

// The same for the program's shape bitmap 176; the plain rectangle when the
// bitmap is missing.
[[nodiscard]] QRegion LoadWindowShape(int width, int height);

} // namespace skin
