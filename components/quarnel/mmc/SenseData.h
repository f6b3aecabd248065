#pragma once
// Sense data of a failed command, fixed (70h/71h) or descriptor (72h/73h)
// format, reduced to what drives the disc component's behaviour.

#include <cstdint>
#include <span>

namespace quarnel {

namespace sense {
inline constexpr std::uint8_t kNoSense = 0x0;
inline constexpr std::uint8_t kNotReady = 0x2;
inline constexpr std::uint8_t kMediumError = 0x3;
inline constexpr std::uint8_t kIllegalRequest = 0x5;
inline constexpr std::uint8_t kUnitAttention = 0x6;
} // namespace sense

struct SenseData {
    bool valid = false;    // a known response code and at least the key were delivered
    bool deferred = false; // 71h/73h: about an earlier command (a write cached by the drive)
    std::uint8_t responseCode = 0;
    std::uint8_t key = 0;
    std::uint8_t asc = 0;
    std::uint8_t ascq = 0;
    bool progressValid = false; // SKSV with a not-ready key: progress of blank/format/close
    std::uint16_t progress = 0; // fraction done, in 1/65536

    [[nodiscard]] bool Is(std::uint8_t senseKey, std::uint8_t code) const {
        return valid && key == senseKey && asc == code;
    }
    [[nodiscard]] bool Is(std::uint8_t senseKey, std::uint8_t code, std::uint8_t qualifier) const {
        return Is(senseKey, code) && ascq == qualifier;
    }

    [[nodiscard]] bool NoMedium() const { return Is(sense::kNotReady, 0x3A); }
    [[nodiscard]] bool BecomingReady() const { return Is(sense::kNotReady, 0x04, 0x01); }
    [[nodiscard]] bool FormatInProgress() const { return Is(sense::kNotReady, 0x04, 0x04); }
    [[nodiscard]] bool OperationInProgress() const { return Is(sense::kNotReady, 0x04, 0x07); }
    [[nodiscard]] bool LongWriteInProgress() const { return Is(sense::kNotReady, 0x04, 0x08); }
    // The drive is working on something and the command is worth repeating later.
    [[nodiscard]] bool Busy() const {
        return BecomingReady() || FormatInProgress() || OperationInProgress() ||
               LongWriteInProgress();
    }
    [[nodiscard]] bool InvalidCommand() const { return Is(sense::kIllegalRequest, 0x20, 0x00); }
    [[nodiscard]] bool AddressOutOfRange() const { return Is(sense::kIllegalRequest, 0x21, 0x00); }
    [[nodiscard]] bool InvalidAddressForWrite() const {
        return Is(sense::kIllegalRequest, 0x21, 0x02);
    }
    [[nodiscard]] bool InvalidFieldInCdb() const { return Is(sense::kIllegalRequest, 0x24, 0x00); }
    [[nodiscard]] bool CommandSequenceError() const {
        return Is(sense::kIllegalRequest, 0x2C, 0x00);
    }
    [[nodiscard]] bool IncompatibleMedium() const { return Is(sense::kIllegalRequest, 0x30); }
    [[nodiscard]] bool Underrun() const { return Is(sense::kMediumError, 0x0C, 0x09); }
    [[nodiscard]] bool UnitAttention() const { return valid && key == sense::kUnitAttention; }
    [[nodiscard]] bool MediumMayHaveChanged() const { return Is(sense::kUnitAttention, 0x28); }
};

// Decodes exactly the delivered bytes; fields the drive did not deliver stay 0,
// an unknown response code gives valid == false.
[[nodiscard]] SenseData DecodeSense(std::span<const std::uint8_t> bytes);

} // namespace quarnel
