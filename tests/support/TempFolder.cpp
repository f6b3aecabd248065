#include "tests/support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace testsupport {

TempFolder::TempFolder() {
    std::error_code error;
    const std::string pattern =
        (std::filesystem::temp_directory_path(error) / "sondrel-test-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!error && mkdtemp(name.data()) != nullptr) {
        m_path = std::string(name.data()) + "/";
    }
}

TempFolder::~TempFolder() {
    if (m_path.empty()) {
        return;
    }
    std::error_code error;
    // Tests may take permissions away; give them back so that removal works.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, error);
         !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
    }
    std::filesystem::remove_all(m_path, error);
}

std::string TempFolder::Write(std::string_view relativePath, std::string_view bytes) const {
    const std::filesystem::path file = std::filesystem::path(m_path) / relativePath;
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.string();
}

std::string TempFolder::Read(std::string_view relativePath) const {
    std::ifstream in(std::filesystem::path(m_path) / relativePath,
                     std::ios::binary | std::ios::ate);
    if (!in) {
        return std::string();
    }
    std::string bytes(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

} // namespace testsupport
