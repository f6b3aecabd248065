#pragma once
// A push button drawn entirely from one of three bitmaps, picked by its state:
// disabled, pressed (held down) or released. The bitmaps are program
// resources named by number; each paint loads the one it needs, so new
// numbers from SetBitmaps take effect at the next paint. The pointer turns
// into the hand cursor (resource 133) over the button.

#include <QAbstractButton>

#include <cstdint>

class CBmpBtn : public QAbstractButton {
    Q_OBJECT

public:
    explicit CBmpBtn(QWidget* parent = nullptr);

    // Stores the three resource numbers (only the low 16 bits name a
    // bitmap); nothing is redrawn until the next paint.
    void SetBitmaps(std::uint32_t normalId, std::uint32_t pressedId, std::uint32_t disabledId);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Which bitmap the button shows now.
    std::uint32_t CurrentBitmapId() const;

    std::uint32_t m_nNormalId = 0;
    std::uint32_t m_nPressedId = 0;
    std::uint32_t m_nDisabledId = 0;
};
