#pragma once
// How long a command may take before the transport gives up on it, by kind:
// writes and commands sent with Immed return within minutes, a cache flush,
// close, blank or format that runs to completion may take an hour or more.

#include "components/quarnel/Transport.h"

#include <cstdint>
#include <span>

namespace quarnel {

inline constexpr std::uint32_t kDefaultTimeoutMs = 10'000;
inline constexpr std::uint32_t kReadTimeoutMs = 30'000;
inline constexpr std::uint32_t kTrayTimeoutMs = 60'000;
inline constexpr std::uint32_t kWriteTimeoutMs = 200'000;
inline constexpr std::uint32_t kImmediateTimeoutMs = 200'000;
inline constexpr std::uint32_t kCloseTimeoutMs = 3'600'000;
inline constexpr std::uint32_t kBlankTimeoutMs = 4 * 3'600'000;

[[nodiscard]] std::uint32_t TimeoutMsFor(const CommandBlock& block);

// A complete command: the block, its data and direction, and the time-out of its kind.
[[nodiscard]] Command MakeCommand(const CommandBlock& block, DataDirection direction,
                                  std::span<std::uint8_t> data);
[[nodiscard]] Command MakeCommand(const CommandBlock& block);

} // namespace quarnel
