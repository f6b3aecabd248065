#pragma once
// The frames that carry MMC commands between a program holding a served
// device node (the preload library) and the process that serves an emulated
// drive. Over a Unix stream socket, each command is one request frame
// followed, for data sent to the drive, by its parameter bytes; each answer
// is one reply frame followed by the bytes the drive returned. Pure encoding
// and decoding: the frame headers have fixed sizes, so a reader knows how much
// to read before it decodes.

#include "components/quarnel/Transport.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace quarnel::serve {

// The most data one command may move: far above any MMC transfer a burner or
// ripper makes, small enough that a damaged frame cannot make the server
// allocate without bound.
inline constexpr std::uint32_t kMaxTransferBytes = 16U * 1024U * 1024U;
inline constexpr std::size_t kRequestHeaderBytes = 32;
inline constexpr std::size_t kReplyHeaderBytes = 16 + 64;

struct RequestHeader {
    CommandBlock cdb;
    DataDirection direction = DataDirection::None;
    std::uint32_t transferBytes = 0; // reply buffer size, or parameter bytes that follow
    std::uint32_t timeoutMs = 0;
};

struct ReplyHeader {
    std::uint8_t scsiStatus = kStatusGood;
    std::uint32_t hostError = 0;
    std::uint32_t transferred = 0; // bytes moved; for FromDevice, the data bytes that follow
    std::array<std::uint8_t, 64> sense{};
    std::uint8_t senseLength = 0;
};

[[nodiscard]] std::array<std::uint8_t, kRequestHeaderBytes>
EncodeRequest(const RequestHeader& request);
// nullopt: not a request frame, a CDB length other than 6 to 16, an unknown
// direction, or a transfer above kMaxTransferBytes.
[[nodiscard]] std::optional<RequestHeader> DecodeRequest(std::span<const std::uint8_t> bytes);

[[nodiscard]] std::array<std::uint8_t, kReplyHeaderBytes> EncodeReply(const ReplyHeader& reply);
// nullopt: not a reply frame, a sense length above 64, or a transfer above
// `transferLimit` (the reply buffer the request offered).
[[nodiscard]] std::optional<ReplyHeader> DecodeReply(std::span<const std::uint8_t> bytes,
                                                     std::uint32_t transferLimit);

} // namespace quarnel::serve
