// READ TOC replies of format 0 and 2, and the sessions built from them.
#include "components/quarnel/device/SessionInfo.h"
#include "components/quarnel/mmc/Toc.h"

#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> reply(data, size);
    static_cast<void>(quarnel::ParseTrackToc(reply));
    const auto full = quarnel::ParseFullToc(reply);
    if (full.Ok() && full.value.descriptors.size() * quarnel::kFullTocDescriptorLength + 4 > size) {
        __builtin_trap(); // more descriptors than the bytes could hold
    }
    if (size >= 4) {
        const int length = ((data[0] << 8) | data[1]) - 2;
        const int available = static_cast<int>(size) - 4;
        const quarnel::SessionInfo sessions(data + 4, length < available ? length : available);
        for (int s = 1; s <= sessions.GetSessionCount(); ++s) {
            const quarnel::TocData* toc = sessions.GetTocData(s);
            quarnel::TocData::_Data entry;
            for (int t = toc->GetFirstTrackNo(); t <= toc->GetLastTrackNo(); ++t) {
                static_cast<void>(toc->GetTrackData(t, entry));
            }
            static_cast<void>(toc->GetLeadOutStartPosEx());
        }
    }
    return 0;
}
