#pragma once

#include <cstdint>
#include <string>

namespace platform::mixer {

// The component type an input's name suggests: names like "analog-input-mic",
// "Front Mic", "Line In" or "CD" say what the input is when nothing else does. Anything
// unrecognised counts as an analog input, which keeps it recordable.
std::uint32_t ComponentTypeFromName(const std::string& name);

} // namespace platform::mixer
