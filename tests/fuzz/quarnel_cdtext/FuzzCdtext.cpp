// CD-Text packs, bare and as a READ TOC format-5 reply.
#include "components/quarnel/mmc/CdText.h"

#include <cstdint>
#include <span>

namespace {

void Touch(const quarnel::Parsed<quarnel::CdText>& parsed) {
    if (!parsed.Ok()) {
        return;
    }
    if (parsed.value.badCrcPacks > parsed.value.packs || parsed.value.blocks.size() > 8) {
        __builtin_trap();
    }
    for (const auto& block : parsed.value.blocks) {
        for (std::uint8_t type = 0x80; type <= 0x8F; ++type) {
            for (std::size_t track = 0; track <= quarnel::kCdTextTracks; ++track) {
                static_cast<void>(block.Utf8(type, track));
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    Touch(quarnel::DecodeCdTextPacks(bytes));
    Touch(quarnel::ParseCdTextReply(bytes));
    return 0;
}
