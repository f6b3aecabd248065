// Fuzz target for the registry settings file reader. Any input is a settings
// file: what is read from it must be written in a form that reads back to the
// same contents, and a value stored into it must read back without disturbing
// the values that were there.
#include "platform/registry/RegistryDocument.h"

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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    platform::RegistryDocument document = platform::RegistryDocument::Parse(text);
    const std::string written = document.Text();
    Check(platform::RegistryDocument::Parse(written).Text() == written);

    constexpr std::string_view kKey = "HKEY_LOCAL_MACHINE\\Software\\Kestrune\\Sondrel";
    const auto before = document.Value(kKey, "other");
    document.SetValue(kKey, "SkinIndex", static_cast<platform::DWORD>(size));
    const platform::RegistryDocument reread = platform::RegistryDocument::Parse(document.Text());
    Check(reread.Value(kKey, "skinindex") == static_cast<platform::DWORD>(size));
    Check(reread.Value(kKey, "OTHER") == before);
    Check(reread.HasKey("HKEY_LOCAL_MACHINE\\software"));

    // Any one-line text (the input up to its first line end) comes back as it was.
    const std::string_view line = text.substr(0, text.find('\n'));
    document.SetTextValue(kKey, "RunningTake", line);
    Check(platform::RegistryDocument::Parse(document.Text()).TextValue(kKey, "runningtake") ==
          line);
    return 0;
}
