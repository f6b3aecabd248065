#pragma once
// The controls of the main window's template (dialog 102): kind, caption and
// initial state, in template order. Their rectangles are in
// res/MainDialogTemplate.h.

#include <array>
#include <cstdint>

namespace window {

enum class ControlKind : std::uint8_t {
    Label,
    DropDownList,
    RadioButton,
    CheckBox,
    Edit,
    PushButton,
    BitmapButton,
    ListView,
    Slider,
    ProgressBar,
    Banner,
};

// Initial states beyond "enabled and shown".
inline constexpr unsigned kDisabled = 1u;
inline constexpr unsigned kHidden = 2u;
inline constexpr unsigned kChecked = 4u;

struct DialogControl {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    const char* text = "";
    unsigned state = 0;
};

inline constexpr int kDialogControlCount = 31;
extern const std::array<DialogControl, kDialogControlCount> g_dialog102Controls;

} // namespace window
