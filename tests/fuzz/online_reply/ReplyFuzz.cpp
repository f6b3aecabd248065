// Fuzz target for the reply header a server sends and the decimal numbers read
// from it. Any input is a sequence of header lines. A complete header has a
// status; numbers read as the C runtime reads them, saturated.
#include "online/DecimalText.h"
#include "online/HttpReplyHeaders.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckNumber(std::string_view text) {
    const std::int64_t value = online::DecimalValue(text);
    // strtoll reads up to an embedded NUL and saturates the same way.
    const std::string terminated(text);
    Check(value == std::strtoll(terminated.c_str(), nullptr, 10));
    const std::int32_t narrow = online::DecimalValue32(text);
    Check(narrow == std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                             std::numeric_limits<std::int32_t>::max()));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    online::HttpReplyHeaders reply;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size() - 1) + 1;
        reply.AddLine(text.substr(0, end));
        text.remove_prefix(end);
    }
    Check(!reply.Complete() || !reply.StatusText().empty());
    CheckNumber(reply.StatusText());
    if (const auto length = reply.Value("content-length")) {
        Check(reply.Value("Content-Length") == length);
        CheckNumber(*length);
    }
    CheckNumber(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
