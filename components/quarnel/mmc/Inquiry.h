#pragma once
// Standard INQUIRY data: device type and the identification texts.

#include "components/quarnel/mmc/ParseResult.h"

#include <cstdint>
#include <span>
#include <string>

namespace quarnel {

inline constexpr std::uint8_t kInquiryLength = 96;
inline constexpr std::uint8_t kPeripheralTypeMmc = 0x05; // CD/DVD device

struct InquiryInfo {
    std::uint8_t peripheralType = 0;
    bool removable = false;
    std::string vendor;   // bytes 8-15, trailing blanks removed
    std::string product;  // bytes 16-31
    std::string revision; // bytes 32-35
};

// Needs the first 8 bytes; texts are cut to what was delivered.
[[nodiscard]] Parsed<InquiryInfo> ParseInquiry(std::span<const std::uint8_t> reply);

} // namespace quarnel
