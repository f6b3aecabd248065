#include "res/MainDialogTemplate.h"

namespace res {

// Dialog 102: control id and its position x, y, width, height in dialog units.
const std::array<TemplateControl, kMainDialogControlCount> g_mainDialogControls = {{
    {1047, {15, 34, 26, 10}},   // label "Select :"
    {1002, {49, 30, 129, 119}}, // recording source drop-down list
    {1003, {6, 55, 44, 8}},     // radio "To file"
    {1004, {6, 72, 38, 11}},    // radio "To CD"
    {1005, {50, 53, 113, 12}},  // output path edit
    {1006, {165, 53, 13, 11}},  // browse "....."
    {1008, {50, 70, 94, 41}},   // drive drop-down list
    {1010, {146, 70, 14, 12}},  // Erase
    {1011, {164, 70, 14, 12}},  // Save
    {1009, {8, 87, 169, 95}},   // track list
    {1015, {9, 187, 46, 9}},    // check box "Close disc"
    {1027, {63, 186, 113, 11}}, // play bar host
    {1038, {9, 205, 166, 26}},  // waveform display area
    {1039, {11, 233, 28, 9}},   // label "Volume:"
    {1040, {50, 233, 18, 8}},   // label "min"
    {1026, {69, 234, 86, 10}},  // input level slider
    {1041, {156, 234, 21, 10}}, // label "max"
    {1017, {12, 244, 60, 8}},   // read-out "Time:"
    {1031, {90, 244, 58, 8}},   // read-out "Length:"
    {1032, {11, 258, 69, 9}},   // label "Capacity of Disc :"
    {1016, {9, 270, 166, 6}},   // progress bar
    {1033, {44, 283, 17, 21}},  // About
    {1034, {62, 283, 16, 21}},  // Help
    {1012, {79, 283, 32, 21}},  // Record
    {1013, {79, 283, 32, 21}},  // Stop (hidden; where Record is)
    {1035, {111, 283, 16, 21}}, // "Min"
    {1036, {128, 283, 20, 21}}, // Close
    {1014, {113, 246, 24, 22}}, // Exit (hidden)
    {1044, {159, 14, 12, 11}},  // Skin
    {1058, {94, 13, 58, 10}},   // title line
    {1057, {2, 305, 180, 14}},  // information banner
}};

std::optional<DialogRect> MainDialogControlPixels(int id) {
    for (const TemplateControl& control : g_mainDialogControls) {
        if (control.id == id) {
            return DluToPixels(control.dlu);
        }
    }
    return std::nullopt;
}

} // namespace res
