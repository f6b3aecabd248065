#pragma once
// Status values of the device classes: 0 is success; otherwise the top byte
// names the kind of failure and the low 24 bits carry its details.

#include "components/quarnel/Transport.h"
#include "components/quarnel/mmc/ParseResult.h"
#include "components/quarnel/mmc/SenseData.h"

#include <cstdint>
#include <string>

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

// The sense code a check-condition status carries: a failed command's status
// holds its own sense, so callers decide on it without asking the drive for
// the last sense (which another thread's command may have replaced). kNone
// for any other status.
[[nodiscard]] SenseCode SenseOf(std::uint32_t status);
[[nodiscard]] inline bool Is(std::uint32_t status, SenseCode code) {
    return (status & 0xFF000000U) == kCheckCondition && SenseOf(status) == code;
}
// The same key and additional sense code, whatever the qualifier.
[[nodiscard]] inline bool IsGroup(std::uint32_t status, SenseCode code) {
    const SenseCode got = SenseOf(status);
    return (status & 0xFF000000U) == kCheckCondition && got.key == code.key && got.asc == code.asc;
}

// Words for a status: "sense 2/3A/00 (no disc)", "no answer from the drive
// (host error 0x20007)", "done".
[[nodiscard]] std::string Text(std::uint32_t status);

} // namespace quarnel::status
