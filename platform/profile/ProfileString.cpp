#include "platform/profile/ProfileString.h"

#include "platform/profile/ProfileFileIo.h"
#include "platform/profile/ProfileText.h"

#include <optional>

namespace platform {

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& filePath) {
    std::string text;
    ReadProfileFile(filePath, text); // text stays empty unless the file was read
    return ReadProfileText(text, section, key, defaultValue);
}

bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& filePath) {
    std::string text;
    if (ReadProfileFile(filePath, text) == ProfileFileState::kUnusable) {
        return false;
    }
    const std::optional<std::string> changed = WriteProfileText(text, section, key, value);
    return changed.has_value() && WriteProfileFile(filePath, *changed);
}

} // namespace platform
