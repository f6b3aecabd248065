#pragma once
// Sense key, additional sense code and qualifier of a failed command, and the
// ones the emulated writer answers with.

#include <cstdint>

namespace quarnel::emu {

struct SenseCode {
    std::uint8_t key = 0;
    std::uint8_t asc = 0;
    std::uint8_t ascq = 0;

    [[nodiscard]] bool Good() const { return key == 0 && asc == 0 && ascq == 0; }
    friend bool operator==(const SenseCode&, const SenseCode&) = default;
};

namespace sense {
inline constexpr SenseCode kNone{};
inline constexpr SenseCode kNotReady{0x02, 0x04, 0x00};
inline constexpr SenseCode kBecomingReady{0x02, 0x04, 0x01};
inline constexpr SenseCode kFormatInProgress{0x02, 0x04, 0x04};
inline constexpr SenseCode kOperationInProgress{0x02, 0x04, 0x07};
inline constexpr SenseCode kLongWriteInProgress{0x02, 0x04, 0x08};
inline constexpr SenseCode kNoMediumTrayClosed{0x02, 0x3A, 0x01};
inline constexpr SenseCode kNoMediumTrayOpen{0x02, 0x3A, 0x02};
inline constexpr SenseCode kWriteError{0x03, 0x0C, 0x00};
inline constexpr SenseCode kLossOfStreaming{0x03, 0x0C, 0x09};
inline constexpr SenseCode kUnrecoveredRead{0x03, 0x11, 0x05};
inline constexpr SenseCode kInternalTargetFailure{0x04, 0x44, 0x00};
inline constexpr SenseCode kParameterListLength{0x05, 0x1A, 0x00};
inline constexpr SenseCode kInvalidCommand{0x05, 0x20, 0x00};
inline constexpr SenseCode kAddressOutOfRange{0x05, 0x21, 0x00};
inline constexpr SenseCode kInvalidWriteAddress{0x05, 0x21, 0x02};
inline constexpr SenseCode kInvalidField{0x05, 0x24, 0x00};
inline constexpr SenseCode kInvalidParameter{0x05, 0x26, 0x00};
inline constexpr SenseCode kSequenceError{0x05, 0x2C, 0x00};
inline constexpr SenseCode kIncompatibleMedium{0x05, 0x30, 0x00};
inline constexpr SenseCode kCannotWriteMedium{0x05, 0x30, 0x05};
inline constexpr SenseCode kSavingNotSupported{0x05, 0x39, 0x00};
inline constexpr SenseCode kMediumMayHaveChanged{0x06, 0x28, 0x00};
inline constexpr SenseCode kRemovalPrevented{0x05, 0x53, 0x02};
inline constexpr SenseCode kIllegalModeForTrack{0x05, 0x64, 0x00};
} // namespace sense

} // namespace quarnel::emu
