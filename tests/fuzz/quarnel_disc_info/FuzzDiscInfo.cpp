// READ DISC INFORMATION replies.
#include "components/quarnel/mmc/DiscInformation.h"

#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto parsed = quarnel::ParseDiscInformation({data, size});
    if (parsed.Ok()) {
        static_cast<void>(parsed.value.LastPossibleLeadOutLba());
        if (parsed.value.discStatus > 3 || parsed.value.lastSessionState > 3) {
            __builtin_trap();
        }
    }
    return 0;
}
