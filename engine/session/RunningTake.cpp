#include "engine/session/RunningTake.h"

#include "platform/registry/Registry.h"
#include "util/ProcessIdentity.h"

#include <array>

namespace engine {

namespace {

constexpr const char* kKeyPath = "Software\\Kestrune\\Sondrel";
constexpr const char* kPathValue = "RunningTake";
constexpr const char* kProcessValue = "RunningTakeProcess";

// The settings key, opened (created when missing) for the scope.
class SettingsKey {
public:
    SettingsKey() { platform::RegCreateKeyEx(platform::HKEY_LOCAL_MACHINE, kKeyPath, &m_key); }
    ~SettingsKey() {
        if (m_key != nullptr) {
            platform::RegCloseKey(m_key);
        }
    }
    SettingsKey(const SettingsKey&) = delete;
    SettingsKey& operator=(const SettingsKey&) = delete;

    void SetText(const char* name, const std::string& text) const {
        platform::RegSetValueEx(m_key, name, platform::REG_SZ, text.c_str(),
                                static_cast<platform::DWORD>(text.size() + 1));
    }
    [[nodiscard]] std::optional<std::string> Text(const char* name) const {
        platform::DWORD type = 0;
        platform::DWORD bytes = 0;
        if (m_key == nullptr ||
            platform::RegQueryValueEx(m_key, name, &type, nullptr, &bytes) !=
                platform::ERROR_SUCCESS ||
            type != platform::REG_SZ || bytes == 0) {
            return std::nullopt;
        }
        std::string text(bytes, '\0');
        if (platform::RegQueryValueEx(m_key, name, &type, text.data(), &bytes) !=
            platform::ERROR_SUCCESS) {
            return std::nullopt;
        }
        text.resize(bytes - 1);
        return text;
    }
    void Delete(const char* name) const { platform::RegDeleteValue(m_key, name); }

private:
    platform::HKEY m_key = nullptr;
};

} // namespace

void RememberRunningTake(const std::string& path) {
    const SettingsKey key;
    key.SetText(kPathValue, path);
    key.SetText(kProcessValue, util::ProcessIdentity::Current().Format());
}

void ForgetRunningTake() {
    const SettingsKey key;
    key.Delete(kPathValue);
    key.Delete(kProcessValue);
}

std::optional<std::string> CutOffTakePath() {
    const SettingsKey key;
    std::optional<std::string> path = key.Text(kPathValue);
    const std::optional<std::string> process = key.Text(kProcessValue);
    const std::optional<util::ProcessIdentity> recorder =
        process ? util::ProcessIdentity::Parse(*process) : std::nullopt;
    if (!path || (recorder && !recorder->IsGone())) {
        return std::nullopt;
    }
    return path;
}

} // namespace engine
