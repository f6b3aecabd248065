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
    std::filesystem::create_directories(site.workFolder, error); // a failed download says no more
    return site;
}

} // namespace online
