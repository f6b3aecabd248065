#pragma once
// Whatever shows message boxes for the program: a dialog in the window, a
// prompt on the terminal, a script in tests.

#include <string>

namespace util {

class IMessageBoxHost {
public:
    virtual ~IMessageBoxHost() = default;

    // Shows `text` with a message-box style (buttons and icon, MB_* in
    // MessageBox.h) and returns the button pressed (ID*). May be called from
    // any thread; the host brings the question to its user interface itself.
    virtual int Show(const std::string& text, unsigned style) = 0;
};

} // namespace util
