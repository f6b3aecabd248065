#include "components/trindle/VirtualKeyMap.h"

#include "components/trindle/Trindle.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace trindle {

namespace {

struct KeysymRange {
    KeySym first;
    KeySym last;
    std::uint32_t firstCode;
};

constexpr KeysymRange kRanges[] = {
    {XK_F1, XK_F24, 0x70}, {XK_0, XK_9, '0'},        {XK_a, XK_z, 'A'},
    {XK_A, XK_Z, 'A'},     {XK_KP_0, XK_KP_9, 0x60},
};

struct SingleKey {
    KeySym keysym;
    std::uint32_t code;
};

// Shift levels of the first group looked at for digits (plain, Shift, AltGr
// and Shift with AltGr).
constexpr unsigned kLevelsLooked = 4;

constexpr SingleKey kSingles[] = {
    {XK_BackSpace, 0x08},
    {XK_Tab, 0x09},
    {XK_Return, 0x0D},
    {XK_Pause, 0x13},
    {XK_Caps_Lock, 0x14},
    {XK_Escape, 0x1B},
    {XK_space, 0x20},
    {XK_Prior, 0x21},
    {XK_Next, 0x22},
    {XK_End, 0x23},
    {XK_Home, 0x24},
    {XK_Left, 0x25},
    {XK_Up, 0x26},
    {XK_Right, 0x27},
    {XK_Down, 0x28},
    {XK_Print, 0x2C},
    {XK_Insert, 0x2D},
    {XK_Delete, 0x2E},
    {XK_Super_L, 0x5B},
    {XK_Super_R, 0x5C},
    {XK_Menu, 0x5D},
    {XK_Num_Lock, 0x90},
    {XK_Scroll_Lock, 0x91},
    {XK_Shift_L, 0xA0},
    {XK_Shift_R, 0xA1},
    {XK_Control_L, 0xA2},
    {XK_Control_R, 0xA3},
    {XK_Alt_L, 0xA4},
    {XK_Meta_L, 0xA4},
    {XK_Alt_R, 0xA5},
    {XK_Meta_R, 0xA5},
    // AltGr of many layouts: the right Alt key under another name.
    {XK_ISO_Level3_Shift, 0xA5},
};

} // namespace

std::uint32_t VirtualKeyOfKeysym(KeySym keysym) {
    for (const KeysymRange& range : kRanges) {
        if (keysym >= range.first && keysym <= range.last) {
            return range.firstCode + static_cast<std::uint32_t>(keysym - range.first);
        }
    }
    for (const SingleKey& single : kSingles) {
        if (single.keysym == keysym) {
            return single.code;
        }
    }
    return kTrindleNoVirtualKey;
}

void VirtualKeyMap::Load(Display* display) {
    m_codes.fill(kTrindleNoVirtualKey);
    // Asked of the server each time: Xlib's own copy of the mapping may not
    // have followed a layout change yet.
    XkbDescPtr keyboard = XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
    if (keyboard == nullptr) {
        return;
    }
    for (unsigned keycode = keyboard->min_key_code; keycode <= keyboard->max_key_code; ++keycode) {
        const unsigned levels =
            XkbKeyNumGroups(keyboard, keycode) > 0 ? XkbKeyGroupWidth(keyboard, keycode, 0) : 0;
        std::uint32_t code = levels > 0
                                 ? VirtualKeyOfKeysym(XkbKeySymEntry(keyboard, keycode, 0, 0))
                                 : kTrindleNoVirtualKey;
        // A digit is the code of the key that carries it, on whatever level:
        // layouts such as the French one put the digits above punctuation.
        for (unsigned level = 1; level < levels && level < kLevelsLooked; ++level) {
            const KeySym shifted = XkbKeySymEntry(keyboard, keycode, level, 0);
            if (shifted >= XK_0 && shifted <= XK_9) {
                code = VirtualKeyOfKeysym(shifted);
            }
        }
        m_codes[keycode] = static_cast<std::uint8_t>(code);
    }
    XkbFreeKeyboard(keyboard, 0, True);
}

} // namespace trindle
