#pragma once
// Command blocks of the SPC/MMC commands the disc component sends. Each
// builder is pure: it returns the bytes of the CDB and nothing else; the
// caller adds the data buffer, the direction and the time-out.

#include "components/quarnel/Transport.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace quarnel::cdb {

// START STOP UNIT byte 4: load/eject with start (close the tray) or stop (open it).
enum class TrayAction : std::uint8_t { Stop = 0x00, Start = 0x01, Eject = 0x02, Load = 0x03 };

// CLOSE TRACK/SESSION byte 2 close function.
enum class CloseFunction : std::uint8_t { Track = 1, Session = 2 };

// READ TRACK INFORMATION byte 1 address/number type.
enum class TrackAddressType : std::uint8_t { Lba = 0, TrackNumber = 1, SessionNumber = 2 };

// READ TOC/PMA/ATIP byte 2 formats used here.
enum class TocFormat : std::uint8_t { Toc = 0, FullToc = 2, CdText = 5 };

inline constexpr std::uint16_t kSpeedMaximum = 0xFFFF;
inline constexpr std::uint8_t kInvisibleTrack = 0xFF;

[[nodiscard]] CommandBlock TestUnitReady();
[[nodiscard]] CommandBlock RequestSense(std::uint8_t allocationLength);
[[nodiscard]] CommandBlock Inquiry(std::uint8_t allocationLength);
[[nodiscard]] CommandBlock ModeSense10(std::uint8_t pageCode, std::uint16_t allocationLength);
// PF set: the parameter list is a header followed by pages of the MMC layout.
[[nodiscard]] CommandBlock ModeSelect10(std::uint16_t parameterLength);
// Only the header, whose bytes 6-7 carry the current profile, is asked for.
[[nodiscard]] CommandBlock GetConfiguration(std::uint16_t startFeature,
                                            std::uint16_t allocationLength);
[[nodiscard]] CommandBlock ReadDiscInformation(std::uint16_t allocationLength);
[[nodiscard]] CommandBlock ReadTrackInformation(TrackAddressType type, std::uint32_t number,
                                                std::uint16_t allocationLength);
[[nodiscard]] CommandBlock ReadTocPmaAtip(TocFormat format, bool msf, std::uint8_t trackOrSession,
                                          std::uint16_t allocationLength);
// CD-DA sectors, user data only (2,352 bytes each), no sub-channel.
[[nodiscard]] CommandBlock ReadCdAudio(std::uint32_t lba, std::uint32_t blocks);
[[nodiscard]] CommandBlock Write10(std::uint32_t lba, std::uint16_t blocks);
[[nodiscard]] CommandBlock SynchronizeCache(bool immediate);
[[nodiscard]] CommandBlock CloseTrackSession(CloseFunction function, std::uint16_t number,
                                             bool immediate);
[[nodiscard]] CommandBlock Blank(std::uint8_t blankingType, bool immediate);
// FmtData set with format code 1: a parameter list (FormatUnitParameters) follows.
[[nodiscard]] CommandBlock FormatUnit();
// The FORMAT UNIT parameter list: a 4-byte header (Immed in byte 1) and one
// format descriptor of the number of blocks, the format type (byte 4, bits
// 7-2) and its type-dependent parameter.
inline constexpr std::size_t kFormatParameterLength = 12;
inline constexpr std::uint8_t kFormatTypeDvdPlusRwFull = 0x26;
[[nodiscard]] std::array<std::uint8_t, kFormatParameterLength>
FormatUnitParameters(std::uint32_t blocks, std::uint8_t formatType, std::uint32_t typeParameter,
                     bool immediate);
[[nodiscard]] CommandBlock PreventAllowMediumRemoval(bool prevent);
[[nodiscard]] CommandBlock StartStopUnit(TrayAction action, bool immediate);
[[nodiscard]] CommandBlock SetCdSpeed(std::uint16_t readKBytesPerSecond,
                                      std::uint16_t writeKBytesPerSecond);

} // namespace quarnel::cdb
