#pragma once
// Status values of the device classes: 0 is success; otherwise the top byte
// names the kind of failure and the low 24 bits carry its details.

#include "components/quarnel/Transport.h"
#include "components/quarnel/mmc/ParseResult.h"
#include "components/quarnel/mmc/SenseData.h"

#include <cstdint>

namespace quarnel::status {

inline constexpr std::uint32_t kOk = 0;
// | key << 16 | ASC << 8 | ASCQ
inline constexpr std::uint32_t kCheckCondition = 0x01000000;
// | SCSI status byte (BUSY, RESERVATION CONFLICT ...)
inline constexpr std::uint32_t kScsiStatus = 0x02000000;
// | CommandOutcome::hostError: the command never completed at the drive
inline constexpr std::uint32_t kTransport = 0x03000000;
// | ParseError: the drive answered, but not with the reply asked for
inline constexpr std::uint32_t kBadReply = 0x04000000;
// The caller's buffer, length or count cannot hold what was asked for.
inline constexpr std::uint32_t kBadArgument = 0x05000000;
// Another user holds the drive (exclusive access refused).
inline constexpr std::uint32_t kDriveInUse = 0x06000000;

[[nodiscard]] std::uint32_t FromOutcome(const CommandOutcome& outcome, const SenseData& sense);
[[nodiscard]] std::uint32_t FromParseError(ParseError error);

} // namespace quarnel::status
