#pragma once
// The function handed to the hotkey library: decides, for every key event of
// the system, whether it completes the chosen combination, and then toggles
// recording on the main window.

#include "components/trindle/Trindle.h"

#include <cstdint>

namespace hotkey {

// Runs on the library's thread; returns 1 in every case. A completed
// combination posts one toggle to the user-interface thread, which starts a
// take when none runs (g_notRecording) and stops it otherwise.
std::uint32_t HotkeyCallback(std::uint32_t message, const TrindleKeyRecord* keyRecord);

} // namespace hotkey
