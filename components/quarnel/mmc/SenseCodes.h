#pragma once
// The sense codes the disc component knows, in one table: sense key,
// additional sense code and qualifier, and the words that say what they
// mean. The drive classes test replies against these codes, the emulated
// writer answers with them, and the command line, the window's messages and
// the command log show their words.

#include <cstdint>
#include <string>
#include <string_view>

namespace quarnel {

struct SenseCode {
    std::uint8_t key = 0;
    std::uint8_t asc = 0;
    std::uint8_t ascq = 0;

    [[nodiscard]] bool Good() const { return key == 0 && asc == 0 && ascq == 0; }
    friend bool operator==(const SenseCode&, const SenseCode&) = default;
};

namespace sense {
// Sense keys.
inline constexpr std::uint8_t kKeyNoSense = 0x0;
inline constexpr std::uint8_t kKeyNotReady = 0x2;
inline constexpr std::uint8_t kKeyMediumError = 0x3;
inline constexpr std::uint8_t kKeyHardwareError = 0x4;
inline constexpr std::uint8_t kKeyIllegalRequest = 0x5;
inline constexpr std::uint8_t kKeyUnitAttention = 0x6;

inline constexpr SenseCode kNone{};
inline constexpr SenseCode kNotReady{0x02, 0x04, 0x00};
inline constexpr SenseCode kBecomingReady{0x02, 0x04, 0x01};
inline constexpr SenseCode kFormatInProgress{0x02, 0x04, 0x04};
inline constexpr SenseCode kOperationInProgress{0x02, 0x04, 0x07};
inline constexpr SenseCode kLongWriteInProgress{0x02, 0x04, 0x08};
inline constexpr SenseCode kNoMedium{0x02, 0x3A, 0x00};
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
inline constexpr SenseCode kRemovalPrevented{0x05, 0x53, 0x02};
inline constexpr SenseCode kIllegalModeForTrack{0x05, 0x64, 0x00};
inline constexpr SenseCode kMediumMayHaveChanged{0x06, 0x28, 0x00};
inline constexpr SenseCode kPowerOnReset{0x06, 0x29, 0x00};
} // namespace sense

// The words for a code: those of the code itself, else those of its key and
// additional sense code ("no disc" for any 2/3A/xx), else empty.
[[nodiscard]] std::string_view SenseText(SenseCode code);
// "2/3A/02 (no disc, tray open)", or "2/99/00" for a code the table lacks.
[[nodiscard]] std::string DescribeSense(SenseCode code);

} // namespace quarnel
