#pragma once
// The capture devices this machine offers, for the recording-source list.

#include "platform/wave/BackendChoice.h"

#include <optional>
#include <string>
#include <vector>

namespace platform::wave {

struct CaptureDevice {
    std::string name;        // backend text, usable as the input setting
    std::string description; // for people
};

// With a virtual input configured: that input alone. With an ALSA input: the
// capture PCMs of the sound cards ("alsa:hw:CARD,DEVICE"), and the configured
// device when it is another one (a sound server's, "default") that opens for
// capture now. Empty when there is nothing to capture from, and for an unusable
// setting.
[[nodiscard]] std::vector<CaptureDevice>
ListCaptureDevices(const std::optional<BackendChoice>& input);

} // namespace platform::wave
