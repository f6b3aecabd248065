#pragma once
// Points the registry service at a settings file of this test's own (by
// SONDREL_REGISTRY) for the object's lifetime, then restores the previous
// setting. The file starts missing.

#include "tests/support/TempFolder.h"

#include <optional>
#include <string>

namespace testsupport {

class ScopedRegistryFile {
public:
    ScopedRegistryFile();
    ~ScopedRegistryFile();
    ScopedRegistryFile(const ScopedRegistryFile&) = delete;
    ScopedRegistryFile& operator=(const ScopedRegistryFile&) = delete;

    // The settings file's full path.
    const std::string& Path() const { return m_path; }
    // The folder that holds it, for further files of the test.
    const TempFolder& Folder() const { return m_folder; }
    // Points the service at another file (a path that cannot be written, say).
    static void Use(const std::string& path);

private:
    TempFolder m_folder;
    std::string m_path;
    std::optional<std::string> m_previous;
};

} // namespace testsupport
