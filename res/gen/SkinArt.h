#pragma once
// The colours one skin's artwork is drawn in. The panels behind the labels are
// chosen so that the label colours the window uses for that skin stay
// readable: light-on-dark for skins 1 and 2, black-on-light for 3 and 4.

#include <QColor>

#include <array>

namespace artgen {

struct SkinArt {
    int skin = 1;
    QColor bodyTop;
    QColor bodyBottom;
    QColor edgeLight;
    QColor edgeDark;
    QColor panel;      // behind the grey-blue or black labels
    QColor readout;    // behind the time and length read-outs
    QColor banner;     // behind the banner text
    QColor screen;     // the waveform display area
    QColor accent;     // lines, wordmark, button faces
    QColor accentText; // glyphs on accent faces
    QColor skinColour; // the skin colour (slider well)
};

[[nodiscard]] const std::array<SkinArt, 4>& SkinArts();

// Interpolates between two colours; t in 0..1.
[[nodiscard]] QColor Mix(const QColor& a, const QColor& b, double t);

} // namespace artgen
