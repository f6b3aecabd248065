#include "engine/session/PreRecordSetting.h"

#include "engine/RecordingState.h"
#include "lang/LangText.h"
#include "platform/profile/ProfileString.h"
#include "util/ModuleFolder.h"

#include <algorithm>
#include <charconv>

namespace engine {

unsigned PreRecordSecondsSetting(const std::string& iniPath) {
    const std::string text =
        platform::GetPrivateProfileString("Record", "PreRecordSeconds", "", iniPath);
    unsigned seconds = 0;
    const char* end = text.data() + text.size();
    if (std::from_chars(text.data(), end, seconds).ptr != end) {
        return 0;
    }
    return std::min(seconds, kMaxPreRecordSeconds);
}

unsigned PreRecordSecondsSetting() {
    return PreRecordSecondsSetting(util::SettingsFile(lang::GetAppDir()));
}

} // namespace engine
