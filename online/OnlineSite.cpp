#include "online/OnlineSite.h"

#include "platform/profile/ProfileString.h"
#include "util/ModuleFolder.h"

#include <filesystem>

namespace online {

std::string ServerAddressSetting(const std::string& programFolder) {
    return platform::GetPrivateProfileString("Online", "Server", "",
                                             util::SettingsFile(programFolder));
}

OnlineSite DefaultOnlineSite() {
    OnlineSite site;
    site.programFolder = util::GetModuleFolder();
    site.serverAddress = ServerAddressSetting(site.programFolder);
    site.workFolder = util::ProgramWorkFolder();
    std::error_code error;
    // Where it cannot be made, the downloads into it fail silently, as all fetches do.
    std::filesystem::create_directories(site.workFolder, error);
    return site;
}

} // namespace online
