#include "util/ElfVersionNote.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <vector>

namespace util {

namespace {

constexpr std::uint32_t kShtNote = 7;
constexpr std::uint32_t kNtVersion = 1;
// The owner name including its NUL, as the name size counts it.
constexpr std::array<std::uint8_t, 8> kOwner{'S', 'o', 'n', 'd', 'r', 'e', 'l', '\0'};
constexpr std::size_t kNoteHeaderBytes = 12;
// Limits that keep a corrupt header from making us read or allocate without
// end. Real note sections are a few hundred bytes.
constexpr std::uint64_t kMaxNoteSectionBytes = 1u << 20;
constexpr std::uint64_t kMaxSections = 0x10000;

// Where the fields this reader needs sit in the two classes of ELF file.
struct ElfLayout {
    bool is64 = false;
    bool bigEndian = false;
    std::size_t headerBytes = 0;
    std::size_t shoffAt = 0;
    std::size_t shentsizeAt = 0;
    std::size_t shnumAt = 0;
    std::size_t sectionHeaderBytes = 0;
    std::size_t shOffsetAt = 0;
    std::size_t shSizeAt = 0;
    std::size_t shAlignAt = 0;
    std::size_t wordBytes = 0; // width of offsets, sizes and alignments
};

constexpr ElfLayout kElf32{false, false, 52, 32, 46, 48, 40, 16, 20, 32, 4};
constexpr ElfLayout kElf64{true, false, 64, 40, 58, 60, 64, 24, 32, 48, 8};

// An unsigned field of `width` bytes at `at`; the caller has checked bounds.
std::uint64_t Field(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t width,
                    bool bigEndian) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t index = bigEndian ? at + i : at + width - 1 - i;
        value = (value << 8) | bytes[index];
    }
    return value;
}

std::uint64_t AlignUp(std::uint64_t value, std::uint64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

std::vector<std::uint8_t> ReadBlock(const ElfReadAt& readAt, std::uint64_t offset,
                                    std::uint64_t size) {
    std::vector<std::uint8_t> block(static_cast<std::size_t>(size));
    if (!readAt(offset, block)) {
        block.clear();
    }
    return block;
}

// The version text of our note when `notes` holds it, else nothing. A record
// that runs past the end of the section makes the file malformed: that ends
// the search with empty text.
std::optional<std::string> FindNote(std::span<const std::uint8_t> notes, std::uint64_t alignment,
                                    bool bigEndian) {
    std::uint64_t pos = 0;
    // A tail too short for a record header is padding.
    while (pos < notes.size() && notes.size() - pos >= kNoteHeaderBytes) {
        const std::uint64_t nameSize = Field(notes, pos, 4, bigEndian);
        const std::uint64_t descSize = Field(notes, pos + 4, 4, bigEndian);
        const std::uint64_t type = Field(notes, pos + 8, 4, bigEndian);
        const std::uint64_t nameAt = pos + kNoteHeaderBytes;
        const std::uint64_t descAt = AlignUp(nameAt + nameSize, alignment);
        if (descAt > notes.size() || descSize > notes.size() - descAt) {
            return std::string();
        }
        if (type == kNtVersion && nameSize == kOwner.size() &&
            std::equal(kOwner.begin(), kOwner.end(), notes.begin() + static_cast<long>(nameAt))) {
            const auto desc = notes.subspan(descAt, descSize);
            const auto nul = std::find(desc.begin(), desc.end(), std::uint8_t{0});
            return nul == desc.end() ? std::string() : std::string(desc.begin(), nul);
        }
        pos = AlignUp(descAt + descSize, alignment);
    }
    return std::nullopt;
}

} // namespace

std::string ReadElfVersionNote(const ElfReadAt& readAt) {
    std::array<std::uint8_t, 16> ident{};
    if (!readAt(0, ident) || ident[0] != 0x7F || ident[1] != 'E' || ident[2] != 'L' ||
        ident[3] != 'F') {
        return {};
    }
    ElfLayout layout;
    switch (ident[4]) {
    case 1:
        layout = kElf32;
        break;
    case 2:
        layout = kElf64;
        break;
    default:
        return {};
    }
    if (ident[5] != 1 && ident[5] != 2) {
        return {};
    }
    layout.bigEndian = ident[5] == 2;
    const bool big = layout.bigEndian;
    const std::size_t word = layout.wordBytes;

    const std::vector<std::uint8_t> header = ReadBlock(readAt, 0, layout.headerBytes);
    if (header.empty()) {
        return {};
    }
    const std::uint64_t shoff = Field(header, layout.shoffAt, word, big);
    const std::uint64_t shentsize = Field(header, layout.shentsizeAt, 2, big);
    std::uint64_t shnum = Field(header, layout.shnumAt, 2, big);
    if (shoff == 0 || shentsize < layout.sectionHeaderBytes) {
        return {};
    }
    auto sectionHeader = [&](std::uint64_t index) {
        const std::uint64_t relative = index * shentsize; // below 2^32: both factors < 2^16
        if (shoff > std::numeric_limits<std::uint64_t>::max() - relative) {
            return std::vector<std::uint8_t>();
        }
        return ReadBlock(readAt, shoff + relative, shentsize);
    };
    if (shnum == 0) {
        // Extended numbering: the count is the size field of section 0.
        const std::vector<std::uint8_t> first = sectionHeader(0);
        if (first.empty()) {
            return {};
        }
        shnum = std::min(Field(first, layout.shSizeAt, word, big), kMaxSections);
    }
    // The whole table must be there: a file cut short loses its end, and the
    // section table normally sits at the end of the file.
    if (shnum == 0 || sectionHeader(shnum - 1).empty()) {
        return {};
    }
    for (std::uint64_t index = 0; index < shnum; ++index) {
        const std::vector<std::uint8_t> section = sectionHeader(index);
        if (section.empty()) {
            return {};
        }
        if (Field(section, 4, 4, big) != kShtNote) {
            continue;
        }
        const std::uint64_t offset = Field(section, layout.shOffsetAt, word, big);
        const std::uint64_t size = Field(section, layout.shSizeAt, word, big);
        const std::uint64_t alignment = Field(section, layout.shAlignAt, word, big) == 8 ? 8 : 4;
        if (size > kMaxNoteSectionBytes) {
            return {};
        }
        const std::vector<std::uint8_t> notes = ReadBlock(readAt, offset, size);
        if (notes.size() != size) {
            return {};
        }
        if (std::optional<std::string> version = FindNote(notes, alignment, big)) {
            return *version;
        }
    }
    return {};
}

std::string ReadElfVersionNote(std::span<const std::uint8_t> image) {
    return ReadElfVersionNote([image](std::uint64_t offset, std::span<std::uint8_t> out) {
        if (offset > image.size() || out.size() > image.size() - offset) {
            return false;
        }
        std::copy_n(image.begin() + static_cast<long>(offset), out.size(), out.begin());
        return true;
    });
}

} // namespace util
