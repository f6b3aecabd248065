#pragma once
// The settings file that holds the registry: where it is, reading it, and
// changing it under a lock with an atomic replacement (a temporary file beside
// it, then a rename), so a reader in another process sees the old or the new
// contents, never half of them.

#include "platform/registry/Registry.h"
#include "platform/registry/RegistryDocument.h"

#include <filesystem>
#include <functional>

namespace platform {

class RegistryFile {
public:
    explicit RegistryFile(std::filesystem::path path);

    // $SONDREL_REGISTRY when set, else registry.ini in the user's settings folder.
    static RegistryFile FromEnvironment();

    // The file's contents; a missing, unreadable or garbled file reads as
    // empty (or as what could be made of it).
    RegistryDocument Read() const;

    // Locks the file, reads it and hands the contents to `change`; writes the
    // result when `change` returns true. Gives ERROR_ACCESS_DENIED when the
    // folder, the lock or the new file cannot be made, and when a file is there
    // but cannot be read (replacing it would lose what it holds).
    LSTATUS Update(const std::function<bool(RegistryDocument&)>& change) const;

private:
    // False when something is at the path but cannot be read as a file.
    bool Load(RegistryDocument& document) const;
    bool Replace(const std::string& text) const;

    std::filesystem::path m_path;
};

} // namespace platform
