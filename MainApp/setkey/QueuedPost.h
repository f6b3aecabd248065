#pragma once
// The post-to-UI function for ArmHotkeys and OnHotkeyButton: runs each
// function later on the thread of `receiver` (the main window) through its
// event queue. Calls still queued when the receiver is destroyed are dropped.

#include "MainApp/hotkey/HotkeyState.h"

class QObject;

hotkey::PostToUi PostToThreadOf(QObject* receiver);
