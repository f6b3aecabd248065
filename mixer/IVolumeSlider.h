#pragma once
// The input-level slider as the source logic sees it. It works in the mixer's
// own units.

#include <cstdint>

class IVolumeSlider {
public:
    virtual ~IVolumeSlider() = default;
    virtual void SetRange(std::int32_t minimum, std::int32_t maximum, bool redraw) = 0;
    virtual void SetPos(std::int32_t position, bool redraw) = 0;
    virtual std::int32_t GetPos() const = 0;
};
