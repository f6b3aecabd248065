#include "platform/registry/RegistryHandles.h"

#include "platform/registry/RegistryNames.h"

namespace platform {

struct RegistryKey {
    std::string path;
};

namespace {

// Only its address is used: the root's path is kLocalMachineName.
RegistryKey g_localMachineKey;

} // namespace

const HKEY HKEY_LOCAL_MACHINE = &g_localMachineKey;

RegistryHandles& RegistryHandles::Instance() {
    static RegistryHandles handles;
    return handles;
}

HKEY RegistryHandles::Open(std::string path) {
    auto key = std::make_unique<RegistryKey>(RegistryKey{std::move(path)});
    HKEY handle = key.get();
    const std::lock_guard lock(m_mutex);
    m_open.emplace(handle, std::move(key));
    return handle;
}

std::optional<std::string> RegistryHandles::PathOf(HKEY key) const {
    if (key == HKEY_LOCAL_MACHINE) {
        return std::string(kLocalMachineName);
    }
    const std::lock_guard lock(m_mutex);
    const auto found = m_open.find(key);
    return found == m_open.end() ? std::nullopt : std::optional<std::string>(found->second->path);
}

bool RegistryHandles::Close(HKEY key) {
    if (key == HKEY_LOCAL_MACHINE) {
        return true;
    }
    const std::lock_guard lock(m_mutex);
    return m_open.erase(key) == 1;
}

} // namespace platform
