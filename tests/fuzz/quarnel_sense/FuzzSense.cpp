// Sense data of any format.
#include "components/quarnel/mmc/SenseData.h"

#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const quarnel::SenseData sense = quarnel::DecodeSense({data, size});
    if (!sense.valid && (sense.Busy() || sense.NoMedium())) {
        __builtin_trap();
    }
    if (sense.key > 0x0F) {
        __builtin_trap();
    }
    return 0;
}
