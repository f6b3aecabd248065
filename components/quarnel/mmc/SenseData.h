#pragma once
// Sense data of a failed command, fixed (70h/71h) or descriptor (72h/73h)
// format, reduced to what drives the disc component's behaviour.

#include "components/quarnel/mmc/SenseCodes.h"

#include <cstdint>
#include <span>

namespace quarnel {

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
    [[nodiscard]] bool Is(SenseCode code) const { return Is(code.key, code.asc, code.ascq); }
    // The same key and additional sense code, whatever the qualifier.
    [[nodiscard]] bool IsGroup(SenseCode code) const { return Is(code.key, code.asc); }
    [[nodiscard]] SenseCode Code() const { return valid ? SenseCode{key, asc, ascq} : SenseCode{}; }

    [[nodiscard]] bool NoMedium() const { return IsGroup(sense::kNoMedium); }
    [[nodiscard]] bool BecomingReady() const { return Is(sense::kBecomingReady); }
    [[nodiscard]] bool FormatInProgress() const { return Is(sense::kFormatInProgress); }
    [[nodiscard]] bool OperationInProgress() const { return Is(sense::kOperationInProgress); }
    [[nodiscard]] bool LongWriteInProgress() const { return Is(sense::kLongWriteInProgress); }
    // The drive is working on something and the command is worth repeating later.
    [[nodiscard]] bool Busy() const {
        return BecomingReady() || FormatInProgress() || OperationInProgress() ||
               LongWriteInProgress();
    }
    [[nodiscard]] bool InvalidCommand() const { return Is(sense::kInvalidCommand); }
    [[nodiscard]] bool AddressOutOfRange() const { return Is(sense::kAddressOutOfRange); }
    [[nodiscard]] bool InvalidAddressForWrite() const { return Is(sense::kInvalidWriteAddress); }
    [[nodiscard]] bool InvalidFieldInCdb() const { return Is(sense::kInvalidField); }
    [[nodiscard]] bool CommandSequenceError() const { return Is(sense::kSequenceError); }
    [[nodiscard]] bool IncompatibleMedium() const { return IsGroup(sense::kIncompatibleMedium); }
    [[nodiscard]] bool Underrun() const { return Is(sense::kLossOfStreaming); }
    [[nodiscard]] bool UnitAttention() const { return valid && key == sense::kKeyUnitAttention; }
    [[nodiscard]] bool MediumMayHaveChanged() const {
        return IsGroup(sense::kMediumMayHaveChanged);
    }
};

// Decodes exactly the delivered bytes; fields the drive did not deliver stay 0,
// an unknown response code gives valid == false.
[[nodiscard]] SenseData DecodeSense(std::span<const std::uint8_t> bytes);

} // namespace quarnel
