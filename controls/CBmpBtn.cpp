#include "controls/CBmpBtn.h"

#include "res/ResourceImages.h"

#include <QPainter>

namespace {

constexpr unsigned kHandCursorId = 133;

} // namespace

CBmpBtn::CBmpBtn(QWidget* parent) : QAbstractButton(parent) {
    // No background of its own is painted under the bitmap, so nothing
    // flickers; where the bitmap does not reach, the window's skin shows.
    setAutoFillBackground(false);
    // Falls back to the arrow when the hand is missing.
    setCursor(res::LoadCursor(kHandCursorId));
}

void CBmpBtn::SetBitmaps(std::uint32_t normalId, std::uint32_t pressedId,
                         std::uint32_t disabledId) {
    m_nNormalId = normalId;
    m_nPressedId = pressedId;
    m_nDisabledId = disabledId;
}

std::uint32_t CBmpBtn::CurrentBitmapId() const {
    if (!isEnabled()) {
        return m_nDisabledId;
    }
    return isDown() ? m_nPressedId : m_nNormalId;
}

void CBmpBtn::paintEvent(QPaintEvent* /*event*/) {
    // Loaded for this paint only. Where no bitmap covers the button (all of
    // it when the number names no bitmap, the rest when the bitmap is smaller
    // than the button) the skin behind it shows, so a short picture never
    // leaves a dark strip on the window.
    const QPixmap bitmap = res::LoadBitmap(CurrentBitmapId());
    QPainter painter(this);
    const QRect area = rect();
    if (!bitmap.isNull()) {
        // Copied from the bitmap's top-left corner at its own size; a larger
        // bitmap is cut at the button's right and bottom edges.
        painter.drawPixmap(QPoint(0, 0), bitmap, area);
    }
}
