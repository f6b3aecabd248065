#include "components/quarnel/serve/ServeFrames.h"

#include "components/quarnel/mmc/ByteOrder.h"

#include <algorithm>

namespace quarnel::serve {

namespace {

// "SDRQ" and "SDRP": a request and a reply of this protocol's first version.
constexpr std::uint32_t kRequestMagic = 0x53445251;
constexpr std::uint32_t kReplyMagic = 0x53445250;
constexpr std::size_t kCdbOffset = 16;
constexpr std::size_t kSenseOffset = 16;
constexpr std::uint8_t kMinCdbBytes = 6;
constexpr std::uint8_t kMaxCdbBytes = 16;

} // namespace

std::array<std::uint8_t, kRequestHeaderBytes> EncodeRequest(const RequestHeader& request) {
    std::array<std::uint8_t, kRequestHeaderBytes> out{};
    PutBe32(out, 0, kRequestMagic);
    out[4] = request.cdb.length;
    out[5] = static_cast<std::uint8_t>(request.direction);
    PutBe32(out, 8, request.transferBytes);
    PutBe32(out, 12, request.timeoutMs);
    std::copy(request.cdb.bytes.begin(), request.cdb.bytes.end(), out.begin() + kCdbOffset);
    return out;
}

std::optional<RequestHeader> DecodeRequest(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kRequestHeaderBytes || GetBe32(bytes, 0) != kRequestMagic) {
        return std::nullopt;
    }
    RequestHeader request;
    request.cdb.length = bytes[4];
    const std::uint8_t direction = bytes[5];
    request.transferBytes = GetBe32(bytes, 8);
    request.timeoutMs = GetBe32(bytes, 12);
    if (request.cdb.length < kMinCdbBytes || request.cdb.length > kMaxCdbBytes ||
        direction > static_cast<std::uint8_t>(DataDirection::ToDevice) ||
        request.transferBytes > kMaxTransferBytes) {
        return std::nullopt;
    }
    request.direction = static_cast<DataDirection>(direction);
    std::copy_n(bytes.begin() + kCdbOffset, request.cdb.length, request.cdb.bytes.begin());
    return request;
}

std::array<std::uint8_t, kReplyHeaderBytes> EncodeReply(const ReplyHeader& reply) {
    std::array<std::uint8_t, kReplyHeaderBytes> out{};
    PutBe32(out, 0, kReplyMagic);
    out[4] = reply.scsiStatus;
    out[5] = std::min<std::uint8_t>(reply.senseLength, reply.sense.size());
    PutBe32(out, 8, reply.hostError);
    PutBe32(out, 12, reply.transferred);
    std::copy_n(reply.sense.begin(), out[5], out.begin() + kSenseOffset);
    return out;
}

std::optional<ReplyHeader> DecodeReply(std::span<const std::uint8_t> bytes,
                                       std::uint32_t transferLimit) {
    if (bytes.size() < kReplyHeaderBytes || GetBe32(bytes, 0) != kReplyMagic) {
        return std::nullopt;
    }
    ReplyHeader reply;
    reply.scsiStatus = bytes[4];
    reply.senseLength = bytes[5];
    reply.hostError = GetBe32(bytes, 8);
    reply.transferred = GetBe32(bytes, 12);
    if (reply.senseLength > reply.sense.size() || reply.transferred > transferLimit) {
        return std::nullopt;
    }
    std::copy_n(bytes.begin() + kSenseOffset, reply.senseLength, reply.sense.begin());
    return reply;
}

} // namespace quarnel::serve
