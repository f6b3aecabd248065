#include "util/FilesEqual.h"

#include "engine/largefile/CFile64.h"
#include "util/FileSize.h"

#include <array>

namespace util {

namespace {

constexpr unsigned kBlockBytes = 2048;
constexpr unsigned kReadFlags =
    engine::CFile::modeRead | engine::CFile::shareDenyNone | engine::CFile::typeBinary;

bool SameContents(engine::CFile64& first, engine::CFile64& second) {
    // Both buffers are zeroed once; a short last block leaves the tail of
    // the previous (equal) block in both, so comparing whole buffers is safe.
    std::array<unsigned char, kBlockBytes> firstBlock{};
    std::array<unsigned char, kBlockBytes> secondBlock{};
    while (first.GetPosition64() < first.GetLength64()) {
        const unsigned firstRead = first.Read(firstBlock.data(), kBlockBytes);
        const unsigned secondRead = second.Read(secondBlock.data(), kBlockBytes);
        if (firstRead != secondRead || firstBlock != secondBlock) {
            return false;
        }
        if (firstRead == 0) {
            // The first file shrank under us: its end came before its length.
            return false;
        }
    }
    return true;
}

} // namespace

bool FilesEqual(const std::string& first, const std::string& second) {
    if (FileSize(first) != FileSize(second)) {
        return false;
    }
    engine::CFile64 firstFile;
    engine::CFile64 secondFile;
    if (!firstFile.Open(first, kReadFlags) || !secondFile.Open(second, kReadFlags)) {
        return true;
    }
    try {
        return SameContents(firstFile, secondFile);
    } catch (const engine::CFileException&) {
        return false;
    }
}

} // namespace util
