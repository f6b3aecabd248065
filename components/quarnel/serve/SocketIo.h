#pragma once
// Whole-buffer reads and writes on a stream socket, retried after signals;
// writes never raise SIGPIPE when the other end has gone.

#include <cstdint>
#include <span>

namespace quarnel::serve {

// False when the peer closed the connection first or the socket failed.
[[nodiscard]] bool ReceiveAll(int fd, std::span<std::uint8_t> bytes);
[[nodiscard]] bool SendAll(int fd, std::span<const std::uint8_t> bytes);

} // namespace quarnel::serve
