#pragma once
// Button pictures: the skin buttons cut from their skin's background so that
// they sit seamlessly on it, and the buttons that look the same in every skin.

#include "res/gen/Glyph.h"
#include "res/gen/SkinArt.h"

#include <QImage>

namespace artgen {

enum class ButtonState { Normal, Pressed, Disabled };

// A skin button of `size` whose top-left corner sits on control `controlId` of
// the main window: the background under it, then a face in the skin's accent.
[[nodiscard]] QImage DrawSkinButton(const SkinArt& art, const QImage& background, int controlId,
                                    QSize size, Glyph glyph);

// A button that looks the same in every skin: a graphite key in a dark bezel
// filling the whole picture. Record is red, Stop is amber.
[[nodiscard]] QImage DrawSharedButton(Glyph glyph, QSize size, ButtonState state);

} // namespace artgen
