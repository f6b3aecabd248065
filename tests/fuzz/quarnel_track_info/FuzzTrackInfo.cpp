// READ TRACK INFORMATION replies.
#include "components/quarnel/mmc/TrackInformation.h"

#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parsed = quarnel::ParseTrackInformation({data, size});
    if (parsed.Ok() && parsed.value.lastRecordedValid && size < 32) {
        __builtin_trap(); // an address that did not arrive may not be called valid
    }
    return 0;
}
