#include "platform/shell/DesktopShell.h"

#include "platform/shell/DetachedSpawn.h"
#include "platform/shell/ProgramOutput.h"

#include <algorithm>
#include <cctype>

namespace platform {

bool DesktopShell::Open(const std::string& target, const std::string& workingFolder) {
    if (target.empty()) {
        return false;
    }
    return SpawnDetached("xdg-open", {target}, workingFolder);
}

bool DesktopShell::HasDefaultHandler(const std::string& mimeType) {
    // xdg-mime names the handler's desktop file, or prints nothing.
    const std::optional<std::string> handler =
        ProgramOutput("xdg-mime", {"query", "default", mimeType});
    return handler && std::any_of(handler->begin(), handler->end(), [](unsigned char character) {
               return std::isspace(character) == 0;
           });
}

bool DesktopShell::Start(const std::string& programPath, const std::vector<std::string>& arguments,
                         const std::string& workingFolder) {
    return SpawnDetached(programPath, arguments, workingFolder);
}

} // namespace platform
