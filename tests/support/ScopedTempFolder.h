#pragma once
// A private, freshly made folder under the system's temporary folder, removed
// with everything in it when the object goes.

#include <filesystem>
#include <string>
#include <string_view>

namespace testsupport {

class ScopedTempFolder {
public:
    ScopedTempFolder();
    ~ScopedTempFolder();

    ScopedTempFolder(const ScopedTempFolder&) = delete;
    ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // The path of `name` inside the folder, as text.
    std::string File(std::string_view name) const;
    // Creates (or replaces) `name` with `contents` and returns its path.
    std::string Write(std::string_view name, std::string_view contents) const;

private:
    std::filesystem::path m_path;
};

} // namespace testsupport
