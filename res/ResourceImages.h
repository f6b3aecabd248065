#pragma once
// The program's pictures by resource number: bitmaps, icons and cursors. They
// are compiled into the program as Qt resources under
// ":/res/bitmap/<id>.png", ":/res/icon/<id>.png" and ":/res/cursor/<id>.png".

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace res {

// Bitmap `id` (only its low 16 bits count); a null pixmap when there is none.
[[nodiscard]] QPixmap LoadBitmap(unsigned id);

// Icon `id`; a null icon when there is none.
[[nodiscard]] QIcon LoadIcon(unsigned id);

// Cursor `id` with its hot spot; the arrow cursor when there is none.
[[nodiscard]] QCursor LoadCursor(unsigned id);

} // namespace res
