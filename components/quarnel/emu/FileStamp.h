#pragma once
// What tells a replaced or rewritten file from the one read before: device,
// inode, size and modification time.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace quarnel::emu {

struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// nullopt when the file does not exist.
[[nodiscard]] std::optional<FileStamp> StampOf(const std::filesystem::path& path);

} // namespace quarnel::emu
