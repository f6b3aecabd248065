#include "util/FileVersion.h"

#include "engine/largefile/CFile64.h"
#include "util/ElfVersionNote.h"

#include <limits>

namespace util {

std::string GetFileVersion(const std::string& path) {
    engine::CFile64 file;
    if (!file.Open(path, engine::CFile::modeRead | engine::CFile::shareDenyNone |
                             engine::CFile::typeBinary)) {
        return {};
    }
    // A failing read means a damaged file: its version is empty text.
    try {
        const std::uint64_t length = file.GetLength64();
        return ReadElfVersionNote(
            [&file, length](std::uint64_t offset, std::span<std::uint8_t> out) {
                if (offset > length || out.size() > length - offset ||
                    out.size() > std::numeric_limits<unsigned>::max()) {
                    return false;
                }
                file.Seek64(static_cast<std::int64_t>(offset), engine::CFile::begin);
                return file.Read(out.data(), static_cast<unsigned>(out.size())) == out.size();
            });
    } catch (const engine::CFileException&) {
        return {};
    }
}

} // namespace util
