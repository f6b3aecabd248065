// Writes the seed corpus of elfnote_fuzz: small ELF images of both classes and
// byte orders, with and without the version note. Each file's name ends in
// "-v<version>" when it carries one; the util tests check that.
#include "tests/support/ElfBuilder.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using testsupport::ElfBuilder;

bool WriteImage(const std::string& folder, const std::string& name, const ElfBuilder& builder) {
    const std::vector<std::uint8_t> image = builder.Build();
    std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: elfnote_make_corpus FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const ElfBuilder::Note buildId{"GNU", 3, std::vector<std::uint8_t>(8, 0x5A)};
    const ElfBuilder::Note property{"GNU", 5, std::vector<std::uint8_t>(16, 0x01)};
    const ElfBuilder::Note otherOwner{"Sondrel2", 1, {'8', 0, 0, 0}};

    bool ok = true;
    ok &= WriteImage(folder, "le64-v1.0.0.1",
                     ElfBuilder(true, false).AddNotes({ElfBuilder::VersionNote("1.0.0.1")}));
    ok &= WriteImage(folder, "be64-v2.0.0.7",
                     ElfBuilder(true, true).AddNotes({ElfBuilder::VersionNote("2.0.0.7")}));
    ok &= WriteImage(folder, "le32-v3.1",
                     ElfBuilder(false, false).AddNotes({ElfBuilder::VersionNote("3.1")}));
    ok &= WriteImage(folder, "be32-v10.20.30.40",
                     ElfBuilder(false, true).AddNotes({ElfBuilder::VersionNote("10.20.30.40")}));
    ok &= WriteImage(folder, "le64-mixed-v1.2.3.4",
                     ElfBuilder(true, false)
                         .AddSection(ElfBuilder::kShtProgbits, {1, 2, 3, 4, 5})
                         .AddNotes({property}, 8)
                         .AddNotes({buildId, otherOwner, ElfBuilder::VersionNote("1.2.3.4")}));
    ok &= WriteImage(folder, "le64-empty-desc",
                     ElfBuilder(true, false).AddNotes({{"Sondrel", 1, {}}}));
    ok &= WriteImage(folder, "le64-other-notes",
                     ElfBuilder(true, false).AddNotes({buildId, otherOwner}));
    ok &= WriteImage(folder, "be32-no-sections", ElfBuilder(false, true));
    if (!ok) {
        std::fprintf(stderr, "elfnote_make_corpus: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
