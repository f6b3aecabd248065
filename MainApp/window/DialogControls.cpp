#include "MainApp/window/DialogControls.h"

namespace window {

// The template's captions stand until the language file replaces them.
const std::array<DialogControl, kDialogControlCount> g_dialog102Controls = {{
    {1047, ControlKind::Label, "Select :", 0},
    {1002, ControlKind::DropDownList, "", 0},
    {1003, ControlKind::RadioButton, "To file", 0},
    {1004, ControlKind::RadioButton, "To CD", kChecked},
    {1005, ControlKind::Edit, "", kDisabled},
    {1006, ControlKind::BitmapButton, ".....", kDisabled},
    {1008, ControlKind::DropDownList, "", 0},
    {1010, ControlKind::BitmapButton, "Erase", 0},
    {1011, ControlKind::BitmapButton, "Save", 0},
    {1009, ControlKind::ListView, "", 0},
    {1015, ControlKind::CheckBox, "Close disc", 0},
    {1027, ControlKind::PushButton, "", 0},
    {1038, ControlKind::PushButton, "", kDisabled},
    {1039, ControlKind::Label, "Volume:", 0},
    {1040, ControlKind::Label, "min", 0},
    {1026, ControlKind::Slider, "", 0},
    {1041, ControlKind::Label, "max", 0},
    {1017, ControlKind::Label, "Time:", 0},
    {1031, ControlKind::Label, "Length:", 0},
    {1032, ControlKind::Label, "Capacity of Disc :", 0},
    {1016, ControlKind::ProgressBar, "", 0},
    {1033, ControlKind::BitmapButton, "About", 0},
    {1034, ControlKind::BitmapButton, "Help", 0},
    {1012, ControlKind::BitmapButton, "Record", 0},
    {1013, ControlKind::BitmapButton, "Stop", kHidden},
    {1035, ControlKind::BitmapButton, "Min", 0},
    {1036, ControlKind::BitmapButton, "Close", 0},
    {1014, ControlKind::BitmapButton, "Exit", kHidden},
    {1044, ControlKind::BitmapButton, "Skin", 0},
    {1058, ControlKind::Label, "Static", 0},
    {1057, ControlKind::Banner, "", 0},
}};

} // namespace window
