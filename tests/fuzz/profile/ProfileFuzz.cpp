// Fuzz target for the profile text reader and writer. Any input is an INI text;
// its look-ups must stay within the buffer limit, and a value written into it must read back while
// a look-up of another key gives what it gave before.
#include "platform/profile/ProfileText.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::string LookUp(std::string_view text, std::string_view section, std::string_view key) {
    const std::string value = platform::ReadProfileText(text, section, key, "-");
    Check(value.size() < platform::kProfileBufferBytes);
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Names taken from the input itself reach sections and keys that exist.
    const std::string_view section = text.substr(0, size % 7);
    const std::string_view key = text.substr(size / 2, size % 5);
    LookUp(text, section, key);
    LookUp(text, "S", "k");

    const std::string before = LookUp(text, "Other", "k");
    const auto written = platform::WriteProfileText(text, "S", "k", "written value");
    Check(written.has_value());
    Check(LookUp(*written, "s", "K") == "written value");
    Check(LookUp(*written, "Other", "k") == before);
    return 0;
}
