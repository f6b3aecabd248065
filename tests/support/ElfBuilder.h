#pragma once
// Builds small ELF images in memory: a file header, the sections added, and
// the section header table at the end. Enough for readers of sections and
// notes; there are no program headers and no section names.

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

class ElfBuilder {
public:
    struct Note {
        std::string owner; // stored with its terminating NUL
        std::uint32_t type = 0;
        std::vector<std::uint8_t> desc;
    };

    static constexpr std::uint32_t kShtProgbits = 1;
    static constexpr std::uint32_t kShtNote = 7;

    ElfBuilder(bool is64, bool bigEndian);

    // A section of `type` holding `contents` as they stand.
    ElfBuilder& AddSection(std::uint32_t type, std::vector<std::uint8_t> contents,
                           std::uint64_t alignment = 1);
    // A SHT_NOTE section with the notes laid out at `alignment` (4 or 8).
    ElfBuilder& AddNotes(const std::vector<Note>& notes, std::uint64_t alignment = 4);
    std::vector<std::uint8_t> Build() const;

    // The version note our executables carry: owner "Sondrel", type 1, the
    // text with its NUL, padded to 4 bytes.
    static Note VersionNote(const std::string& version);

private:
    struct Section {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> contents;
        std::uint64_t alignment = 1;
    };

    void Put(std::vector<std::uint8_t>& out, std::size_t at, std::uint64_t value,
             std::size_t width) const;

    bool m_is64 = true;
    bool m_bigEndian = false;
    std::vector<Section> m_sections;
};

} // namespace testsupport
