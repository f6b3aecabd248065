#pragma once

// The sound server's source that this program's own capture records from, as last chosen
// through the mixer; the desktop's default source is left alone. Shared by every mixer
// handle of the process; safe from any thread.

#include <string>

namespace platform::mixer {

void SetChosenCaptureSource(const std::string& sourceName);
// Empty until a source is chosen: the capture then records the server's default source.
std::string ChosenCaptureSource();

} // namespace platform::mixer
