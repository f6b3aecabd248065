#pragma once
// Records filled by the device classes. Callers value-initialise them
// (`DISC_INFO info{};`) before a call.

#include "components/quarnel/mmc/DiscInformation.h"
#include "components/quarnel/mmc/SenseData.h"
#include "components/quarnel/mmc/TrackInformation.h"

#include <cstdint>

namespace quarnel {

using SenseData_tag = SenseData;
using DISC_INFO = DiscInformation;
using TRACK_INFO = TrackInformation;

// INQUIRY data in the standard layout. Bytes 0-35 are the drive's; the
// vendor-specific rest is left zero, so the identification read from byte 8
// up to the first NUL is vendor, product and revision and nothing more.
struct INQUIRYDATA {
    std::uint8_t deviceType = 0;
    std::uint8_t removable = 0;
    std::uint8_t version = 0;
    std::uint8_t responseFormat = 0;
    std::uint8_t additionalLength = 0;
    std::uint8_t flags[3] = {};
    char vendorId[8] = {};
    char productId[16] = {};
    char productRevision[4] = {};
    std::uint8_t unused[60] = {};
};
static_assert(sizeof(INQUIRYDATA) == 96);

} // namespace quarnel
