#pragma once
// Numbers written as decimal text, read the way the C runtime's atoi family
// reads them: leading white space, an optional sign, then digits up to the
// first character that is not one. Text without digits reads as 0.

#include <cstdint>
#include <string_view>

namespace online {

// The value, saturated at the limits of 64 bits.
std::int64_t DecimalValue(std::string_view text);

// The value, saturated at the limits of 32 bits.
std::int32_t DecimalValue32(std::string_view text);

} // namespace online
