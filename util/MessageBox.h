#pragma once
// The message box helper: one process-wide host shows every message.

#include "util/IMessageBoxHost.h"

#include <string>

namespace util {

// Styles: buttons, combined with at most one icon.
inline constexpr unsigned MB_OK = 0;
inline constexpr unsigned MB_OKCANCEL = 1;
inline constexpr unsigned MB_YESNOCANCEL = 3;
inline constexpr unsigned MB_YESNO = 4;
inline constexpr unsigned MB_ICONQUESTION = 32;
inline constexpr unsigned MB_ICONINFORMATION = 64;

// Answers: the button pressed.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Installs the host that shows messages from now on (null: none) and returns
// the one installed before. The host must outlive its installation.
IMessageBoxHost* SetMessageBoxHost(IMessageBoxHost* host);

// Shows `text` as it stands (no format directives are interpreted) with
// `style` through the installed host and returns its answer. Without a host
// the text goes to stderr and the answer is IDOK.
int ShowMessageBox(const std::string& text, unsigned style);

} // namespace util
