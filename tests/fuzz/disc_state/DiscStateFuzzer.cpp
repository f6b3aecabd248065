// A drive folder's disc.state on arbitrary bytes, with an image of a size
// taken from the input: never crashes, and a state accepted as consistent
// gives addresses that stay on the disc.
#include "components/quarnel/emu/DiscStateCheck.h"
#include "components/quarnel/emu/DiscStateFile.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint32_t imageBlocks = 0;
    if (size >= sizeof imageBlocks) {
        std::memcpy(&imageBlocks, data, sizeof imageBlocks);
        data += sizeof imageBlocks;
        size -= sizeof imageBlocks;
    }
    const std::optional<quarnel::emu::DiscState> state =
        quarnel::emu::ParseDiscState(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!state) {
        return 0;
    }
    const std::uint64_t imageBytes = std::uint64_t{imageBlocks} * 2352;
    if (!quarnel::emu::DiscStateProblem(*state, imageBytes).empty()) {
        return 0;
    }
    std::uint32_t previousEnd = 0;
    for (const quarnel::emu::DiscTrack& track : state->tracks) {
        if (track.start < previousEnd || track.End() < track.start) {
            std::abort(); // overlapping or wrapping tracks passed the check
        }
        previousEnd = track.End();
    }
    (void)state->NextWritable();
    (void)state->FreeBlocks();
    return 0;
}
