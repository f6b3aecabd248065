#include "online/OnlineSite.h"

#include "platform/profile/ProfileString.h"
#include "util/ModuleFolder.h"

namespace online {

std::string ServerAddressSetting(const std::string& programFolder) {
    return platform::GetPrivateProfileString("Online", "Server", "", programFolder + "SoftSet.ini");
}

OnlineSite DefaultOnlineSite() {
    OnlineSite site;
    site.programFolder = util::GetModuleFolder();
    site.serverAddress = ServerAddressSetting(site.programFolder);
    return site;
}

} // namespace online
