#include "tests/support/ElfBuilder.h"

#include <utility>

namespace testsupport {

namespace {

std::size_t AlignUp(std::size_t value, std::size_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

} // namespace

ElfBuilder::ElfBuilder(bool is64, bool bigEndian) : m_is64(is64), m_bigEndian(bigEndian) {}

ElfBuilder& ElfBuilder::AddSection(std::uint32_t type, std::vector<std::uint8_t> contents,
                                   std::uint64_t alignment) {
    m_sections.push_back(Section{type, std::move(contents), alignment});
    return *this;
}

ElfBuilder& ElfBuilder::AddNotes(const std::vector<Note>& notes, std::uint64_t alignment) {
    std::vector<std::uint8_t> bytes;
    for (const Note& note : notes) {
        const std::size_t start = bytes.size();
        const std::size_t nameBytes = note.owner.size() + 1;
        bytes.resize(start + 12);
        Put(bytes, start, nameBytes, 4);
        Put(bytes, start + 4, note.desc.size(), 4);
        Put(bytes, start + 8, note.type, 4);
        bytes.insert(bytes.end(), note.owner.begin(), note.owner.end());
        bytes.resize(AlignUp(bytes.size() + 1, alignment));
        bytes.insert(bytes.end(), note.desc.begin(), note.desc.end());
        bytes.resize(AlignUp(bytes.size(), alignment));
    }
    return AddSection(kShtNote, std::move(bytes), alignment);
}

std::vector<std::uint8_t> ElfBuilder::Build() const {
    const std::size_t headerBytes = m_is64 ? 64 : 52;
    const std::size_t entryBytes = m_is64 ? 64 : 40;
    const std::size_t word = m_is64 ? 8 : 4;

    std::vector<std::uint8_t> image(headerBytes);
    image[0] = 0x7F;
    image[1] = 'E';
    image[2] = 'L';
    image[3] = 'F';
    image[4] = m_is64 ? 2 : 1;
    image[5] = m_bigEndian ? 2 : 1;
    image[6] = 1;                                 // EI_VERSION
    Put(image, 16, 2, 2);                         // e_type: ET_EXEC
    Put(image, 18, m_is64 ? 62 : 3, 2);           // e_machine: x86-64 or i386
    Put(image, 20, 1, 4);                         // e_version
    Put(image, m_is64 ? 52 : 40, headerBytes, 2); // e_ehsize

    std::vector<std::size_t> offsets;
    for (const Section& section : m_sections) {
        image.resize(AlignUp(image.size(), section.alignment));
        offsets.push_back(image.size());
        image.insert(image.end(), section.contents.begin(), section.contents.end());
    }
    image.resize(AlignUp(image.size(), word));
    const std::size_t tableAt = image.size();
    // Entry 0 is the null section every ELF file starts its table with.
    image.resize(tableAt + entryBytes * (m_sections.size() + 1));
    for (std::size_t i = 0; i < m_sections.size(); ++i) {
        const std::size_t entry = tableAt + entryBytes * (i + 1);
        Put(image, entry + 4, m_sections[i].type, 4);
        Put(image, entry + (m_is64 ? 24 : 16), offsets[i], word);
        Put(image, entry + (m_is64 ? 32 : 20), m_sections[i].contents.size(), word);
        Put(image, entry + (m_is64 ? 48 : 32), m_sections[i].alignment, word);
    }
    Put(image, m_is64 ? 40 : 32, tableAt, word);            // e_shoff
    Put(image, m_is64 ? 58 : 46, entryBytes, 2);            // e_shentsize
    Put(image, m_is64 ? 60 : 48, m_sections.size() + 1, 2); // e_shnum
    return image;
}

ElfBuilder::Note ElfBuilder::VersionNote(const std::string& version) {
    std::vector<std::uint8_t> desc(version.begin(), version.end());
    desc.resize(AlignUp(desc.size() + 1, 4));
    return Note{"Sondrel", 1, std::move(desc)};
}

void ElfBuilder::Put(std::vector<std::uint8_t>& out, std::size_t at, std::uint64_t value,
                     std::size_t width) const {
    for (std::size_t i = 0; i < width; ++i) {
        const std::size_t shift = 8 * (m_bigEndian ? width - 1 - i : i);
        out[at + i] = static_cast<std::uint8_t>(value >> shift);
    }
}

} // namespace testsupport
