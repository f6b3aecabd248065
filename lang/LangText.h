#pragma once
// The program's language look-ups, made in the program folder.

#include <string>
#include <string_view>

namespace lang {

// The program folder: the folder of the running executable, ending in '/';
// empty when it cannot be determined.
std::string GetAppDir();

// The chosen language's name (may be empty).
std::string GetLanguageName();

// The font face name of the chosen language (may be empty).
std::string GetLanguageFont();

// Text `number` of `section` ("UIText", "Message", "Tip", "Update") in the
// chosen language's file; empty when missing.
std::string GetLangString(std::string_view section, int number);

} // namespace lang
