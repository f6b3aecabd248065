#include "tests/support/ScopedTempFolder.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace testsupport {

ScopedTempFolder::ScopedTempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "sondrel-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    }
    m_path = pattern;
}

ScopedTempFolder::~ScopedTempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string ScopedTempFolder::File(std::string_view name) const {
    return (m_path / name).string();
}

std::string ScopedTempFolder::Write(std::string_view name, std::string_view contents) const {
    const std::string path = File(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
    return path;
}

} // namespace testsupport
