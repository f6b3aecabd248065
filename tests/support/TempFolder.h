#pragma once
// A fresh folder under the system's temporary folder for one test, removed with
// everything in it when the object goes.

#include <string>
#include <string_view>

namespace testsupport {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path with a trailing '/'; empty if it could not be made.
    const std::string& Path() const { return m_path; }
    // The path of `relativePath` inside the folder.
    std::string File(std::string_view relativePath) const {
        return m_path + std::string(relativePath);
    }

    // Writes `bytes` to `relativePath` inside the folder, making subfolders as
    // needed; returns the file's full path.
    std::string Write(std::string_view relativePath, std::string_view bytes) const;

    // The bytes of `relativePath` inside the folder; empty if it is missing.
    std::string Read(std::string_view relativePath) const;

private:
    std::string m_path;
};

} // namespace testsupport
