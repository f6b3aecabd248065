#include "res/ArtworkCatalog.h"

namespace res {

namespace {
constexpr ArtEntry Bmp(unsigned id, int width, int height) noexcept {
    return {ArtKind::Bitmap, id, width, height};
}
} // namespace

// The shared buttons of the main window are made to the pixel size of their
// control in dialog 102, so they fill it exactly.
const std::array<ArtEntry, kArtCount> g_artCatalog = {{
    // Skin backgrounds.
    Bmp(145, 280, 522),
    Bmp(182, 280, 522),
    Bmp(205, 280, 522),
    Bmp(206, 280, 522),
    // Skin buttons: Skin, "Min", Close, Help, About of skins 1 to 4.
    Bmp(183, 16, 16),
    Bmp(148, 28, 25),
    Bmp(149, 25, 25),
    Bmp(150, 26, 25),
    Bmp(151, 27, 25),
    Bmp(184, 16, 16),
    Bmp(187, 28, 25),
    Bmp(188, 25, 25),
    Bmp(189, 26, 25),
    Bmp(186, 27, 25),
    Bmp(209, 16, 16),
    Bmp(207, 28, 25),
    Bmp(201, 25, 25),
    Bmp(203, 26, 25),
    Bmp(199, 27, 25),
    Bmp(210, 16, 16),
    Bmp(208, 28, 25),
    Bmp(202, 25, 25),
    Bmp(204, 26, 25),
    Bmp(200, 27, 25),
    // Browse (1006).
    Bmp(152, 20, 18),
    // Erase (1010) and Save (1011): normal, pressed, disabled.
    Bmp(153, 21, 19),
    Bmp(154, 21, 19),
    Bmp(170, 21, 19),
    Bmp(155, 21, 19),
    Bmp(156, 21, 19),
    Bmp(173, 21, 19),
    // Record (1012) and Stop (1013): normal, pressed.
    Bmp(157, 48, 34),
    Bmp(158, 48, 34),
    Bmp(167, 48, 34),
    Bmp(168, 48, 34),
    // Exit (1014): normal, pressed, disabled.
    Bmp(161, 36, 36),
    Bmp(162, 36, 36),
    Bmp(171, 36, 36),
    // Play bar: Next, Pause, Play, Pre, Stop; normal and pressed.
    Bmp(135, kPlayButtonPx, kPlayButtonPx),
    Bmp(136, kPlayButtonPx, kPlayButtonPx),
    Bmp(137, kPlayButtonPx, kPlayButtonPx),
    Bmp(138, kPlayButtonPx, kPlayButtonPx),
    Bmp(139, kPlayButtonPx, kPlayButtonPx),
    Bmp(140, kPlayButtonPx, kPlayButtonPx),
    Bmp(141, kPlayButtonPx, kPlayButtonPx),
    Bmp(142, kPlayButtonPx, kPlayButtonPx),
    Bmp(143, kPlayButtonPx, kPlayButtonPx),
    Bmp(144, kPlayButtonPx, kPlayButtonPx),
    // Window shape, splash, about picture.
    Bmp(kWindowShapeBitmap, 280, 522),
    Bmp(kSplashBitmap, 269, 189),
    Bmp(kAboutBitmap, 200, 100),
    // Program icon, track icon, hand cursor.
    {ArtKind::Icon, kProgramIcon, kProgramIconPx, kProgramIconPx},
    {ArtKind::Icon, kTrackIcon, kTrackIconPx, kTrackIconPx},
    {ArtKind::Cursor, kHandCursor, kHandCursorPx, kHandCursorPx},
}};

} // namespace res
