#include "components/quarnel/mmc/SenseCodes.h"

#include <array>
#include <cstdio>

namespace quarnel {

namespace {

struct SenseEntry {
    SenseCode code;
    bool anyQualifier; // the words hold for every ASCQ of this key and ASC
    std::string_view text;
};

constexpr std::array kSenseTable{
    SenseEntry{sense::kBecomingReady, false, "becoming ready"},
    SenseEntry{sense::kFormatInProgress, false, "formatting"},
    SenseEntry{sense::kOperationInProgress, false, "operation in progress"},
    SenseEntry{sense::kLongWriteInProgress, false, "long write in progress"},
    SenseEntry{sense::kNotReady, true, "not ready"},
    SenseEntry{sense::kNoMediumTrayClosed, false, "no disc, tray closed"},
    SenseEntry{sense::kNoMediumTrayOpen, false, "no disc, tray open"},
    SenseEntry{sense::kNoMedium, true, "no disc"},
    SenseEntry{sense::kLossOfStreaming, false, "buffer underrun: the track is lost"},
    SenseEntry{sense::kWriteError, true, "write error"},
    SenseEntry{sense::kUnrecoveredRead, true, "unreadable sector"},
    SenseEntry{sense::kInternalTargetFailure, true, "drive failure"},
    SenseEntry{sense::kParameterListLength, true, "wrong parameter list length"},
    SenseEntry{sense::kInvalidCommand, false, "command not supported by the drive"},
    SenseEntry{sense::kAddressOutOfRange, false, "address out of range"},
    SenseEntry{sense::kInvalidWriteAddress, false, "invalid address for write"},
    SenseEntry{sense::kInvalidField, false, "invalid field in command"},
    SenseEntry{sense::kInvalidParameter, true, "invalid parameter"},
    SenseEntry{sense::kSequenceError, false, "command sequence error"},
    SenseEntry{sense::kCannotWriteMedium, false, "the drive cannot write this disc"},
    SenseEntry{sense::kIncompatibleMedium, true, "medium not suited to this"},
    SenseEntry{sense::kSavingNotSupported, true, "saving parameters not supported"},
    SenseEntry{sense::kRemovalPrevented, false, "the tray is locked"},
    // As some ATAPI drives report it, with a not-ready key.
    SenseEntry{{sense::kKeyNotReady, 0x53, 0x00}, true, "the tray is locked"},
    SenseEntry{sense::kIllegalModeForTrack, false, "illegal mode for this track"},
    SenseEntry{sense::kMediumMayHaveChanged, true, "disc changed"},
    SenseEntry{sense::kPowerOnReset, true, "drive reset"},
};

} // namespace

std::string_view SenseText(SenseCode code) {
    for (const SenseEntry& entry : kSenseTable) {
        if (!entry.anyQualifier && entry.code == code) {
            return entry.text;
        }
    }
    for (const SenseEntry& entry : kSenseTable) {
        if (entry.anyQualifier && entry.code.key == code.key && entry.code.asc == code.asc) {
            return entry.text;
        }
    }
    return {};
}

std::string DescribeSense(SenseCode code) {
    std::array<char, 16> number{};
    std::snprintf(number.data(), number.size(), "%X/%02X/%02X", code.key & 0x0FU, code.asc,
                  code.ascq);
    std::string text = number.data();
    const std::string_view words = SenseText(code);
    if (!words.empty()) {
        text.append(" (").append(words).append(")");
    }
    return text;
}

} // namespace quarnel
