#pragma once
// The hotkey library's interface, loaded at run time from libtrindle.so:
// StartKey hands it a callback that it calls for every key pressed or released
// anywhere on the X display, until StopKey.

#include <cstdint>

extern "C" {

// Keyboard event codes passed as the callback's message.
inline constexpr std::uint32_t kTrindleKeyDown = 256;
inline constexpr std::uint32_t kTrindleKeyUp = 257;
inline constexpr std::uint32_t kTrindleSystemKeyDown = 260; // while an Alt key is held
inline constexpr std::uint32_t kTrindleSystemKeyUp = 261;

// Virtual-key code for a key that has none of its own.
inline constexpr std::uint32_t kTrindleNoVirtualKey = 0xFF;

// The record the callback's second argument points to; only valid during the call.
struct TrindleKeyRecord {
    std::uint32_t vkCode;   // virtual-key code: 0x70-0x7B F1-F12, '0'-'9', 'A'-'Z', 0xA0-0xA5 ...
    std::uint32_t scanCode; // the X keycode
    std::uint32_t flags;    // 0x80 for a release, 0x20 while an Alt key is held
    std::uint32_t time;     // the server's time stamp in milliseconds
};

// Called on the library's own thread, one event at a time, in the order the
// keys were pressed; the result is ignored.
using TrindleCallback = std::uint32_t (*)(std::uint32_t message, const TrindleKeyRecord* record);

// Starts watching (replacing an earlier callback). Returns 1, or 0 when there
// is no X display or it lacks the RECORD extension.
using StartKeyFunction = int (*)(TrindleCallback callback);
// Stops watching; when it returns, no callback runs any more. Harmless when idle.
using StopKeyFunction = void (*)();

__attribute__((visibility("default"))) int StartKey(TrindleCallback callback);
__attribute__((visibility("default"))) void StopKey();
}
