#pragma once
// The input-level slider (1026) as the source logic sees it.

#include "mixer/IVolumeSlider.h"

#include <QSignalBlocker>
#include <QSlider>

namespace window {

class SliderVolume final : public IVolumeSlider {
public:
    explicit SliderVolume(QSlider& slider) : m_slider(slider) {}

    // Set by the program, not moved by the user: no signal tells of it.
    void SetRange(std::int32_t minimum, std::int32_t maximum, bool /*redraw*/) override {
        const QSignalBlocker quiet(m_slider);
        m_slider.setRange(minimum, maximum);
    }
    void SetPos(std::int32_t position, bool /*redraw*/) override {
        const QSignalBlocker quiet(m_slider);
        m_slider.setValue(position);
    }
    std::int32_t GetPos() const override { return m_slider.value(); }

private:
    QSlider& m_slider;
};

} // namespace window
