#include "platform/shell/DesktopShell.h"

#include "platform/shell/DetachedSpawn.h"

namespace platform {

bool DesktopShell::Open(const std::string& target, const std::string& workingFolder) {
    if (target.empty()) {
        return false;
    }
    return SpawnDetached("xdg-open", {target}, workingFolder);
}

bool DesktopShell::Start(const std::string& programPath, const std::vector<std::string>& arguments,
                         const std::string& workingFolder) {
    return SpawnDetached(programPath, arguments, workingFolder);
}

} // namespace platform
