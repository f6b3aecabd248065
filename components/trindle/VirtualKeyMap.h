#pragma once
// Virtual-key codes for the keys of the X keyboard: F1-F24, digits, letters,
// the left and right Shift, Ctrl, Alt and logo keys and the common editing
// keys. The table is built from the server's keyboard mapping (again after
// each layout change), so the watching thread looks codes up without talking
// to the server.

#include <X11/Xlib.h>

#include <array>
#include <cstdint>

namespace trindle {

// The virtual-key code of one key symbol; kTrindleNoVirtualKey for others.
std::uint32_t VirtualKeyOfKeysym(KeySym keysym);

class VirtualKeyMap {
public:
    // Reads every keycode's key symbol from `display`: the plain one, or the
    // digit where the key carries one on a shifted level.
    void Load(Display* display);
    std::uint32_t At(unsigned keycode) const { return m_codes[keycode & 0xFFu]; }

private:
    std::array<std::uint8_t, 256> m_codes{};
};

} // namespace trindle
