#include "lang/LanguageFiles.h"

#include "platform/profile/ProfileString.h"
#include "util/ModuleFolder.h"

#include <utility>

namespace lang {

LanguageFiles::LanguageFiles(std::string programFolder)
    : m_programFolder(std::move(programFolder)) {}

std::string LanguageFiles::LanguageName() const {
    return LanguageSetting("LanFile");
}

std::string LanguageFiles::LanguageFont() const {
    return LanguageSetting("Font");
}

std::string LanguageFiles::LangString(std::string_view section, int number) const {
    const std::string name = LanguageName();
    if (name.empty()) {
        return std::string();
    }
    return platform::GetPrivateProfileString(section, std::to_string(number), "",
                                             m_programFolder + "Lang/" + name + ".ini");
}

std::string LanguageFiles::LanguageSetting(std::string_view prefix) const {
    const std::string number = platform::GetPrivateProfileString(
        "Language Set", "langsel", "1", util::SettingsFile(m_programFolder));
    return platform::GetPrivateProfileString("Language", std::string(prefix) + number, "",
                                             m_programFolder + "Lang/lang.ini");
}

} // namespace lang
