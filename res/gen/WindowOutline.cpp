#include "res/gen/WindowOutline.h"

#include "res/MainDialogTemplate.h"

namespace artgen {

namespace {
constexpr double kBodyTop = 10.0;
constexpr double kCornerRadius = 18.0;
constexpr double kNotchCentreY = 326.0;
constexpr double kNotchRadius = 6.0;
} // namespace

QPainterPath WindowOutline() {
    const double width = res::kMainWindowWidthPx;
    const double height = res::kMainWindowHeightPx;
    QPainterPath body;
    body.addRoundedRect(QRectF(0, kBodyTop, width, height - kBodyTop), kCornerRadius,
                        kCornerRadius);
    QPainterPath tab;
    tab.addRoundedRect(QRectF(8, 0, 124, 40), 10, 10);
    QPainterPath notches;
    notches.addEllipse(QPointF(0, kNotchCentreY), kNotchRadius, kNotchRadius);
    notches.addEllipse(QPointF(width, kNotchCentreY), kNotchRadius, kNotchRadius);
    return body.united(tab).subtracted(notches).simplified();
}

} // namespace artgen
