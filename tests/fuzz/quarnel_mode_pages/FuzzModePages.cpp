// MODE SENSE(10) replies holding page 2Ah or 05h; a parsed write parameters
// page must survive being built again unchanged.
#include "components/quarnel/mmc/CapabilitiesPage.h"
#include "components/quarnel/mmc/ModePage.h"
#include "components/quarnel/mmc/WriteParametersPage.h"

#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> reply(data, size);
    const auto caps = quarnel::FindModePage(reply, quarnel::kCapabilitiesPage);
    if (caps.Ok()) {
        static_cast<void>(quarnel::ParseCapabilitiesPage(caps.value));
    }
    const auto page = quarnel::FindModePage(reply, quarnel::kWriteParametersPage);
    if (!page.Ok()) {
        return 0;
    }
    const auto params = quarnel::ParseWriteParametersPage(page.value);
    if (!params.Ok()) {
        return 0;
    }
    const auto rebuilt = quarnel::BuildWriteParametersPage(params.value);
    const auto again = quarnel::ParseWriteParametersPage(rebuilt);
    if (!again.Ok() || again.value.writeType != params.value.writeType ||
        again.value.pauseLength != params.value.pauseLength ||
        again.value.multiSession != params.value.multiSession ||
        again.value.underrunProtection != params.value.underrunProtection ||
        rebuilt.size() != page.value.size()) {
        __builtin_trap();
    }
    static_cast<void>(quarnel::ModeSelectList(rebuilt));
    return 0;
}
