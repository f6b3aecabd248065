#pragma once
// The main window's colours that depend on the skin number: label and
// read-out text colours and the track list's colours.

#include <QColor>

#include <optional>

namespace window {

// Text colour of control `controlId` under skin `skinIndex`; none where the
// control keeps its default colouring.
[[nodiscard]] std::optional<QColor> ControlTextColour(int controlId, int skinIndex);

struct ListColours {
    QColor background;
    QColor text;
};

// The track list's colours under skin `skinIndex`; none (unchanged) for an
// index outside 1 to 4.
[[nodiscard]] std::optional<ListColours> TrackListColours(int skinIndex);

} // namespace window
