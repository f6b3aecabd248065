#pragma once
// Replies to READ DISC INFORMATION and READ TRACK INFORMATION built from the
// disc state. On a disc that is not finalised the track after the last one
// (the "invisible" track, number FFh) carries the next writable address and
// the free blocks; while a track is being written that track is the one.

#include "components/quarnel/emu/DiscState.h"

#include <array>
#include <cstdint>
#include <optional>

namespace quarnel::emu {

inline constexpr std::size_t kDiscInformationBytes = 34;
inline constexpr std::size_t kTrackInformationBytes = 36;

enum class TrackAddressType : std::uint8_t { Lba = 0, TrackNumber = 1, SessionNumber = 2 };

[[nodiscard]] std::array<std::uint8_t, kDiscInformationBytes>
BuildDiscInformation(const DiscState& state);

// nullopt: no track answers to the address or number (INVALID FIELD).
[[nodiscard]] std::optional<std::array<std::uint8_t, kTrackInformationBytes>>
BuildTrackInformation(const DiscState& state, TrackAddressType type, std::uint32_t value);

} // namespace quarnel::emu
