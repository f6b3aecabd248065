#include "lang/LangText.h"

#include "lang/LanguageFiles.h"
#include "util/ModuleFolder.h"

namespace lang {

std::string GetAppDir() {
    return util::GetModuleFolder();
}

std::string GetLanguageName() {
    return LanguageFiles(GetAppDir()).LanguageName();
}

std::string GetLanguageFont() {
    return LanguageFiles(GetAppDir()).LanguageFont();
}

std::string GetLangString(std::string_view section, int number) {
    return LanguageFiles(GetAppDir()).LangString(section, number);
}

} // namespace lang
