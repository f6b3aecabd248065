#pragma once
// The main window's tooltips: which control shows which texts of the
// language file's "Tip" section.

#include <string>
#include <utility>
#include <vector>

namespace window {

// (control, tip) for every control that has a tip, texts joined with CR LF
// where a tip is made of several texts.
[[nodiscard]] std::vector<std::pair<int, std::string>> MainWindowTips();

} // namespace window
