#include "components/quarnel/mmc/Inquiry.h"

#include <algorithm>

namespace quarnel {

namespace {

std::string Text(std::span<const std::uint8_t> reply, std::size_t from, std::size_t length) {
    if (from >= reply.size()) {
        return {};
    }
    const auto field = reply.subspan(from, std::min(length, reply.size() - from));
    std::string text;
    for (const std::uint8_t byte : field) {
        if (byte == 0) {
            break;
        }
        text.push_back(byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '?');
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

} // namespace

Parsed<InquiryInfo> ParseInquiry(std::span<const std::uint8_t> reply) {
    if (reply.size() < 8) {
        return Parsed<InquiryInfo>::Fail(ParseError::TooShort);
    }
    Parsed<InquiryInfo> result;
    result.value.peripheralType = reply[0] & 0x1F;
    result.value.removable = (reply[1] & 0x80) != 0;
    result.value.vendor = Text(reply, 8, 8);
    result.value.product = Text(reply, 16, 16);
    result.value.revision = Text(reply, 32, 4);
    return result;
}

} // namespace quarnel
