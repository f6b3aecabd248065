// CUE sheet reading on arbitrary bytes: never crashes, and every sheet it
// accepts survives being written out again as the drive writes its own.
#include "components/quarnel/emu/CueParser.h"
#include "components/quarnel/emu/CueWriter.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const quarnel::emu::CueParseResult parsed = quarnel::emu::ParseCueSheet(text);
    if (!parsed.ok) {
        if (parsed.error.empty()) {
            std::abort(); // a refusal must say why
        }
        return 0;
    }
    quarnel::emu::DiscState state;
    state.medium = quarnel::emu::MediumKind::PressedCd;
    state.title = parsed.sheet.title;
    for (const quarnel::emu::CueTrack& track : parsed.sheet.tracks) {
        if (track.title.find('\n') != std::string::npos) {
            std::abort();
        }
        state.tracks.push_back(
            {track.number, 1, track.index1Frames, 1, track.control, track.title, track.performer});
    }
    const quarnel::emu::CueParseResult again =
        quarnel::emu::ParseCueSheet(quarnel::emu::FormatCueSheet(state, "disc.bin"));
    if (!again.ok || again.sheet.tracks.size() != parsed.sheet.tracks.size()) {
        std::abort();
    }
    return 0;
}
