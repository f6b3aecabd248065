#pragma once
// Replaces a small file in one step: the text goes to a temporary file beside
// it, which is then renamed over the old one, so a reader (or a drive object
// re-created after a crash) sees either the old or the new contents, never
// half. The file and its folder reach storage before the call returns.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quarnel::emu {

[[nodiscard]] bool WriteFileAtomically(const std::filesystem::path& path, std::string_view text);
// Makes the names in the folder holding `path` (renames, new files) lasting.
[[nodiscard]] bool SyncFolderOf(const std::filesystem::path& path);
// The whole of a small regular file. Nothing when it is missing (`error`
// left empty) or cannot be read; anything but a regular file (a folder, a
// FIFO, a device) is refused without waiting on it, and `error` then names
// the file and what is wrong with it.
[[nodiscard]] std::optional<std::string> ReadWholeFile(const std::filesystem::path& path,
                                                       std::string* error = nullptr);

} // namespace quarnel::emu
