#include "components/quarnel/mmc/ModePage.h"

#include "components/quarnel/mmc/ByteOrder.h"

#include <algorithm>

namespace quarnel {

Parsed<std::span<const std::uint8_t>> FindModePage(std::span<const std::uint8_t> reply,
                                                   std::uint8_t pageCode) {
    using Result = Parsed<std::span<const std::uint8_t>>;
    if (reply.size() < kModeHeader10Length) {
        return Result::Fail(ParseError::TooShort);
    }
    const std::size_t declared = std::size_t{2} + GetBe16(reply, 0);
    const std::span<const std::uint8_t> data = reply.first(std::min(reply.size(), declared));
    const std::size_t pageAt = kModeHeader10Length + GetBe16(reply, 6);
    if (pageAt + 2 > data.size()) {
        return Result::Fail(ParseError::TooShort);
    }
    if ((data[pageAt] & 0x3F) != (pageCode & 0x3F)) {
        return Result::Fail(ParseError::WrongFormat);
    }
    const std::size_t pageLength = std::size_t{2} + data[pageAt + 1];
    Result result;
    result.value = data.subspan(pageAt, std::min(pageLength, data.size() - pageAt));
    return result;
}

std::vector<std::uint8_t> ModeSelectList(std::span<const std::uint8_t> page) {
    std::vector<std::uint8_t> list(kModeHeader10Length + page.size(), 0);
    std::copy(page.begin(), page.end(), list.begin() + kModeHeader10Length);
    if (!page.empty()) {
        list[kModeHeader10Length] &= 0x7F;
    }
    return list;
}

} // namespace quarnel
