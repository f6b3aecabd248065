#pragma once
// READ DISC INFORMATION, standard disc information (data type 000b).

#include "components/quarnel/mmc/Msf.h"
#include "components/quarnel/mmc/ParseResult.h"

#include <array>
#include <cstdint>
#include <span>

namespace quarnel {

inline constexpr std::uint16_t kDiscInformationLength = 34;
inline constexpr std::size_t kDiscInformationMinLength = 24; // through the last lead-out

namespace disc {
inline constexpr std::uint8_t kStatusBlank = 0;
inline constexpr std::uint8_t kStatusAppendable = 1;
inline constexpr std::uint8_t kStatusComplete = 2;
inline constexpr std::uint8_t kSessionEmpty = 0;
inline constexpr std::uint8_t kSessionIncomplete = 1;
inline constexpr std::uint8_t kSessionComplete = 3;
} // namespace disc

struct DiscInformation {
    bool erasable = false;
    std::uint8_t lastSessionState = 0;
    std::uint8_t discStatus = 0;
    std::uint8_t firstTrack = 0;
    std::uint16_t sessions = 0;
    std::uint16_t firstTrackLastSession = 0;
    std::uint16_t lastTrackLastSession = 0;
    std::uint8_t backgroundFormat = 0;
    std::uint8_t discType = 0;
    // Bytes 16-19 and 20-23: 00 MM SS FF on a CD, FF FF FF FF when not given.
    std::array<std::uint8_t, 4> lastSessionLeadIn{};
    std::array<std::uint8_t, 4> lastPossibleLeadOut{};
    // The reply's bytes, zero beyond what was delivered.
    std::array<std::uint8_t, kDiscInformationLength> raw{};

    [[nodiscard]] std::uint32_t LastPossibleLeadOutLba() const {
        return MsfToLba({lastPossibleLeadOut[1], lastPossibleLeadOut[2], lastPossibleLeadOut[3]});
    }
};

[[nodiscard]] Parsed<DiscInformation> ParseDiscInformation(std::span<const std::uint8_t> reply);

} // namespace quarnel
