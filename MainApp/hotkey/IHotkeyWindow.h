#pragma once
// What the hotkey needs of the main window: starting and stopping a take.
// Both are called on the window's own (user-interface) thread.

namespace hotkey {

class IHotkeyWindow {
public:
    virtual ~IHotkeyWindow() = default;
    virtual void StartRecording() = 0;
    virtual void StopRecording() = 0;
};

} // namespace hotkey
