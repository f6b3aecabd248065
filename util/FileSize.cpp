#include "util/FileSize.h"

#include "engine/largefile/CFile64.h"

namespace util {

std::uint64_t FileSize(const std::string& path) {
    engine::CFile64 file;
    if (!file.Open(path, engine::CFile::modeRead | engine::CFile::shareDenyNone |
                             engine::CFile::typeBinary)) {
        return 0;
    }
    try {
        return file.GetLength64();
    } catch (const engine::CFileException&) {
        return 0;
    }
}

} // namespace util
