#pragma once
// A volume slider for tests: keeps its range and position and counts the
// calls that changed them.

#include "mixer/IVolumeSlider.h"

class RecordingSlider final : public IVolumeSlider {
public:
    void SetRange(std::int32_t minimum, std::int32_t maximum, bool /*redraw*/) override {
        m_minimum = minimum;
        m_maximum = maximum;
        ++m_changes;
    }
    void SetPos(std::int32_t position, bool /*redraw*/) override {
        m_position = position;
        ++m_changes;
    }
    std::int32_t GetPos() const override { return m_position; }

    std::int32_t Minimum() const { return m_minimum; }
    std::int32_t Maximum() const { return m_maximum; }
    int Changes() const { return m_changes; }
    // The user drags the slider (the control moves, nothing is told yet).
    void Drag(std::int32_t position) { m_position = position; }

private:
    std::int32_t m_minimum = 0;
    std::int32_t m_maximum = 0;
    std::int32_t m_position = 0;
    int m_changes = 0;
};
