#pragma once

#include <cstddef>
#include <string>

namespace platform::mixer {

// Cuts text to at most maxBytes bytes without splitting a UTF-8 sequence.
std::string FitText(const std::string& text, std::size_t maxBytes);

// Copies text into a fixed field of fieldBytes bytes, cut to fit and NUL-terminated.
void CopyText(char* field, std::size_t fieldBytes, const std::string& text);

} // namespace platform::mixer
