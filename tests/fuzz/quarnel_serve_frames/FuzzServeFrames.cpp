// Request and reply frames of a served drive: whatever arrives on the socket
// decodes to a frame within its limits, or to nothing; a decoded frame
// encodes back to the bytes it came from.
#include "components/quarnel/serve/ServeFrames.h"

#include <algorithm>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (const auto request = quarnel::serve::DecodeRequest(bytes)) {
        if (request->transferBytes > quarnel::serve::kMaxTransferBytes || request->cdb.length < 6 ||
            request->cdb.length > 16) {
            __builtin_trap();
        }
        const auto again = quarnel::serve::DecodeRequest(quarnel::serve::EncodeRequest(*request));
        if (!again || again->cdb.bytes != request->cdb.bytes ||
            again->transferBytes != request->transferBytes) {
            __builtin_trap();
        }
    }
    const std::uint32_t limit = size == 0 ? 0 : data[0] * 1000U;
    if (const auto reply = quarnel::serve::DecodeReply(bytes, limit)) {
        if (reply->transferred > limit || reply->senseLength > reply->sense.size()) {
            __builtin_trap();
        }
        const auto again = quarnel::serve::DecodeReply(quarnel::serve::EncodeReply(*reply), limit);
        if (!again || !std::equal(again->sense.begin(), again->sense.begin() + again->senseLength,
                                  reply->sense.begin())) {
            __builtin_trap();
        }
    }
    return 0;
}
