#pragma once
// The language settings and language files of one program folder:
//   SoftSet.ini     [Language Set] langsel=<number>          (default "1"; the
//                   user's own copy wins for an installed program, util/ModuleFolder.h)
//   Lang/lang.ini   [Language]     LanFile<number>=<name>, Font<number>=<face>
//   Lang/<name>.ini [UIText], [Message], [Tip], [Update]: <number>=<text>
// Nothing is cached: every call reads the files again, so an edit takes
// effect at the next look-up. Missing files or keys give empty texts.

#include <string>
#include <string_view>

namespace lang {

class LanguageFiles {
public:
    // `programFolder` ends with '/' (or is empty for the current folder).
    explicit LanguageFiles(std::string programFolder);

    // The chosen language's name, the base name of its file; may be empty.
    std::string LanguageName() const;

    // The font face name of the chosen language; may be empty.
    std::string LanguageFont() const;

    // The text numbered `number` in `section` of the chosen language's file,
    // or empty. With no language name no language file is opened at all.
    std::string LangString(std::string_view section, int number) const;

private:
    // The value of key `prefix` + langsel in section "Language" of lang.ini.
    std::string LanguageSetting(std::string_view prefix) const;

    std::string m_programFolder;
};

} // namespace lang
