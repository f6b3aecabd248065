// The version note reader on hand-made ELF images: both classes and byte
// orders, other notes around ours, and images broken in the ways a truncated
// or corrupt file is.
#include "util/ElfVersionNote.h"
#include "tests/support/ElfBuilder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

using testsupport::ElfBuilder;

std::vector<std::uint8_t> WithVersion(bool is64, bool bigEndian, const std::string& version) {
    return ElfBuilder(is64, bigEndian).AddNotes({ElfBuilder::VersionNote(version)}).Build();
}

std::string Read(const std::vector<std::uint8_t>& image) {
    return util::ReadElfVersionNote(image);
}

void PutU32(std::vector<std::uint8_t>& image, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        image[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Where the section header table of a little-endian ELF64 image starts.
std::size_t TableOf(const std::vector<std::uint8_t>& image) {
    std::size_t at = 0;
    for (int i = 7; i >= 0; --i) {
        at = (at << 8) | image[40 + static_cast<std::size_t>(i)];
    }
    return at;
}

// Each row: an image of hand-made notes and sections, and the version it holds.
TEST(ElfVersionNoteTest, OurNoteAmongOthersAndNothingWithoutIt) {
    using Note = ElfBuilder::Note;
    const Note buildId{"GNU", 3, std::vector<std::uint8_t>(20, 0xAB)};
    const Note otherType{"Sondrel", 2, {'9', '.', '9', 0}};
    const Note otherOwner{"Sondrel2", 1, {'8', 0, 0, 0}};
    const Note property{"GNU", 5, std::vector<std::uint8_t>(12, 1)};
    auto retyped = ElfBuilder(true, false).AddNotes({ElfBuilder::VersionNote("1.0")}).Build();
    // The right bytes in a section that is not a note section do not count.
    PutU32(retyped, TableOf(retyped) + 64 + 4, ElfBuilder::kShtProgbits);
    const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> rows = {
        {ElfBuilder(true, false)
             .AddSection(ElfBuilder::kShtProgbits, {'1', '.', '2', 0})
             .AddNotes({buildId})
             .AddNotes({otherType, otherOwner, ElfBuilder::VersionNote("3.1.4.1")})
             .Build(),
         "3.1.4.1"},
        {ElfBuilder(true, false)
             .AddNotes({property, ElfBuilder::VersionNote("4.4.4.4")}, 8)
             .Build(),
         "4.4.4.4"},
        {ElfBuilder(true, false).AddNotes({{"GNU", 1, {'1', 0, 0, 0}}}).Build(), ""},
        {retyped, ""},
        {ElfBuilder(true, false).AddNotes({{"Sondrel", 1, {0, 0, 0, 0}}}).Build(), ""},
        {ElfBuilder(true, false).AddNotes({{"Sondrel", 1, {'1', '.', '2', '3'}}}).Build(), ""},
    };
    for (std::size_t row = 0; row < rows.size(); ++row) {
        EXPECT_EQ(Read(rows[row].first), rows[row].second) << "row " << row;
    }
    // Descriptor lengths on both sides of the 4-byte alignment.
    for (const std::string version : {"1", "1.2", "1.2.", "1.2.3", "1.2.3.4.5.6.7"}) {
        EXPECT_EQ(Read(WithVersion(true, false, version)), version);
    }
}

// Each row damages a good little-endian ELF64 image the way a corrupt file can.
TEST(ElfVersionNoteTest, DamagedImagesGiveNothing) {
    const auto good = WithVersion(true, false, "1.0");
    ASSERT_EQ(Read(good), "1.0");
    const std::size_t table = TableOf(good);
    const std::size_t note = table + 64; // section entry 1
    const std::size_t notesAt = 64;      // the first section follows the header
    using Damage = std::function<void(std::vector<std::uint8_t>&)>;
    const std::vector<std::pair<const char*, Damage>> damages = {
        {"magic", [](auto& image) { image[1] = 'X'; }},
        {"no such class", [](auto& image) { image[4] = 3; }},
        {"no such byte order", [](auto& image) { image[5] = 0; }},
        {"entry size below an entry", [](auto& image) { image[58] = 16; }},
        {"table offset near 2^64",
         [](auto& image) { std::fill(image.begin() + 40, image.begin() + 48, 0xFF); }},
        {"far more entries than there are", [](auto& image) { image[60] = image[61] = 0xFF; }},
        {"section size beyond the file",
         [&](auto& image) { PutU32(image, note + 32, 0xFFFFFFF0u); }},
        {"section at the end",
         [&](auto& image) { PutU32(image, note + 24, static_cast<std::uint32_t>(image.size())); }},
        {"name size overruns", [&](auto& image) { PutU32(image, notesAt, 17); }},
        {"name size near 2^32", [&](auto& image) { PutU32(image, notesAt, 0xFFFFFFFFu); }},
        {"descriptor size overruns", [&](auto& image) { PutU32(image, notesAt + 4, 17); }},
        {"descriptor size near 2^31",
         [&](auto& image) { PutU32(image, notesAt + 4, 0x7FFFFFFFu); }},
    };
    for (const auto& [what, damage] : damages) {
        auto image = good;
        damage(image);
        EXPECT_EQ(Read(image), "") << what;
    }
    EXPECT_EQ(Read({}), "");
    EXPECT_EQ(Read({0x7F, 'E', 'L', 'F'}), "");
}

TEST(ElfVersionNoteTest, ExtendedSectionCountIsFollowed) {
    auto image = WithVersion(true, false, "6.0");
    const std::size_t table = TableOf(image);
    image[60] = 0;
    image[61] = 0; // e_shnum 0: the count is in entry 0's sh_size
    PutU32(image, table + 32, 2);
    EXPECT_EQ(Read(image), "6.0");
    PutU32(image, table + 32, 0xFFFFFFFFu); // a count far beyond the table
    EXPECT_EQ(Read(image), "");
}

// The fuzzer's seed corpus names the version each file carries:
// "<anything>-v<version>" or "<anything>-none".
TEST(ElfVersionNoteTest, SeedCorpusFilesGiveTheVersionInTheirNames) {
    const std::filesystem::path corpus =
        std::filesystem::path(SONDREL_SOURCE_DIR) / "tests/fuzz/corpus/elfnote_fuzz";
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        const std::string name = entry.path().filename().string();
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> image{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        const std::size_t mark = name.rfind("-v");
        const std::string expected = mark == std::string::npos ? "" : name.substr(mark + 2);
        EXPECT_EQ(Read(image), expected) << name;
        ++files;
    }
    EXPECT_GE(files, 4u);
}

} // namespace
