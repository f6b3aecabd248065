#pragma once
// The small symbols on the buttons.

#include <QColor>
#include <QRectF>

class QPainter;

namespace artgen {

enum class Glyph {
    Skins,   // four quarters in the four skin colours
    Hotkeys, // a key cap
    Close,
    Help,
    About,
    Browse,
    Erase,
    Save,
    Record,
    Stop,
    Exit,
    Previous,
    Play,
    Pause,
    Next,
    PlayStop,
};

// Draws `glyph` centred in `box` in `colour`.
void DrawGlyph(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour);

} // namespace artgen
