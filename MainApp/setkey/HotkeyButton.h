#pragma once
// The main window's hotkey button (1035): runs the settings dialog and arms
// the hotkey again when it closes, by either button, so new settings count at once.

#include "MainApp/hotkey/HotkeyState.h"

#include <cstdint>

class QWidget;

// `skinColor` is 0x00BBGGRR; `postToUi` as for ArmHotkeys.
void OnHotkeyButton(QWidget* mainWindow, int skinIndex, std::uint32_t skinColor,
                    hotkey::IHotkeyWindow* hotkeyWindow, const hotkey::PostToUi& postToUi);
