#pragma once
// The disc's data file: blocks stored at block address × block size, written
// with pwrite as each WRITE completes, so a killed process leaves every
// accepted block on disk.

#include <cstdint>
#include <filesystem>
#include <span>

namespace quarnel::emu {

class DiscImageFile {
public:
    DiscImageFile() = default;
    DiscImageFile(const DiscImageFile&) = delete;
    DiscImageFile& operator=(const DiscImageFile&) = delete;
    ~DiscImageFile();

    // Opens (creating when missing) the file for reading and writing.
    [[nodiscard]] bool Open(const std::filesystem::path& path);
    void Close();
    [[nodiscard]] bool Write(std::uint64_t offset, std::span<const std::uint8_t> bytes);
    // Fails when any byte lies beyond the end of the file.
    [[nodiscard]] bool Read(std::uint64_t offset, std::span<std::uint8_t> bytes) const;
    [[nodiscard]] bool Truncate(std::uint64_t size);
    // Puts every block written so far on storage (fdatasync).
    [[nodiscard]] bool Sync();
    [[nodiscard]] std::uint64_t Size() const;

private:
    int m_fd = -1;
};

} // namespace quarnel::emu
