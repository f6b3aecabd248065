#pragma once
// Drawing helpers of the artwork: bevelled panels and faces.

#include <QColor>
#include <QFont>
#include <QRectF>

class QPainter;

namespace artgen {

// A rounded panel filled with a soft vertical gradient around `fill`, with a
// bevel: sunken panels are dark at the top and light at the bottom, raised
// ones the other way round.
void DrawPanel(QPainter& painter, const QRectF& rect, const QColor& fill, double radius,
               bool sunken);

// A glossy rounded face (buttons): gradient from a lighter to a darker `base`,
// a highlight on the upper half and a thin dark rim.
void DrawFace(QPainter& painter, const QRectF& rect, const QColor& base, double radius);

// The font the artwork writes in, `pixels` high.
[[nodiscard]] QFont ArtFont(int pixels, bool bold);

} // namespace artgen
