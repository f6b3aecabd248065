#include "skin/SkinSetting.h"

#include "platform/registry/Registry.h"

#include <array>

namespace skin {

namespace {

constexpr std::array<const char*, 3> kKeyPath = {"Software\\", "Kestrune\\", "Sondrel\\"};
constexpr const char* kValueName = "skinindex";

// Closes every key it holds when it goes out of scope.
class KeyChain {
public:
    KeyChain() = default;
    KeyChain(const KeyChain&) = delete;
    KeyChain& operator=(const KeyChain&) = delete;
    ~KeyChain() {
        for (platform::HKEY key : m_keys) {
            if (key != nullptr) {
                platform::RegCloseKey(key);
            }
        }
    }

    // Opens each key of kKeyPath inside the previous one, creating it when it
    // cannot be opened.
    platform::LSTATUS Open() {
        platform::HKEY parent = platform::HKEY_LOCAL_MACHINE;
        for (std::size_t i = 0; i < kKeyPath.size(); ++i) {
            platform::HKEY key = nullptr;
            platform::LSTATUS status = platform::RegOpenKeyEx(parent, kKeyPath[i], &key);
            if (status != platform::ERROR_SUCCESS) {
                status = platform::RegCreateKeyEx(parent, kKeyPath[i], &key);
            }
            if (status != platform::ERROR_SUCCESS) {
                return status;
            }
            m_keys[i] = key;
            parent = key;
        }
        return platform::ERROR_SUCCESS;
    }

    [[nodiscard]] platform::HKEY Innermost() const { return m_keys.back(); }

private:
    std::array<platform::HKEY, kKeyPath.size()> m_keys{};
};

platform::LSTATUS Store(platform::HKEY key, std::int32_t value) {
    const auto data = static_cast<platform::DWORD>(value);
    return platform::RegSetValueEx(key, kValueName, platform::REG_DWORD, &data, sizeof data);
}

} // namespace

std::int32_t SkinIndexSetting(std::int32_t value) {
    KeyChain keys;
    const platform::LSTATUS opened = keys.Open();
    if (opened != platform::ERROR_SUCCESS) {
        return static_cast<std::int32_t>(opened);
    }
    if (value != 0) {
        return static_cast<std::int32_t>(Store(keys.Innermost(), value));
    }
    platform::DWORD type = 0;
    platform::DWORD stored = 0;
    platform::DWORD bytes = sizeof stored;
    const platform::LSTATUS read =
        platform::RegQueryValueEx(keys.Innermost(), kValueName, &type, &stored, &bytes);
    if (read != platform::ERROR_SUCCESS) {
        Store(keys.Innermost(), 1);
        return 1;
    }
    return static_cast<std::int32_t>(stored);
}

std::int32_t ReadSkinIndexForStartup() {
    KeyChain keys;
    if (keys.Open() != platform::ERROR_SUCCESS) {
        return 1;
    }
    return SkinIndexSetting(0);
}

} // namespace skin
