#pragma once
// Loading the hotkey library and starting or stopping its watch.

#include "MainApp/hotkey/HotkeyState.h"

#include <string>

namespace hotkey {

// libtrindle.so in the program folder.
std::string DefaultHotkeyLibraryPath();

// Reads the settings, loads the library when it is not loaded yet (a missing
// library means no hotkeys, without a message), stops its watch and starts it
// again with HotkeyCallback when "KeyUsed" is 1. `postToUi` carries each
// toggle to the window's thread. Returns whether the hotkey is armed. Called
// at start-up and after the settings dialog closes, on the window's thread.
bool ArmHotkeys(IHotkeyWindow* mainWindow, PostToUi postToUi,
                const std::string& libraryPath = DefaultHotkeyLibraryPath());

// Stops the watch and unloads the library: the window is closing.
void DisarmHotkeys();

} // namespace hotkey
