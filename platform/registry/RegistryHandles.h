#pragma once
// The open registry handles: each one names the full path of its key. A
// handle that was never handed out, or is already closed, is recognised and
// refused instead of being followed.

#include "platform/registry/Registry.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace platform {

class RegistryHandles {
public:
    static RegistryHandles& Instance();

    HKEY Open(std::string path);
    // The key's full path; nothing for an unknown or closed handle.
    std::optional<std::string> PathOf(HKEY key) const;
    // False for an unknown or closed handle; the root stays open.
    bool Close(HKEY key);

private:
    mutable std::mutex m_mutex;
    std::unordered_map<HKEY, std::unique_ptr<RegistryKey>> m_open;
};

} // namespace platform
