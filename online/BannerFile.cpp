#include "online/BannerFile.h"

#include "online/DecimalText.h"
#include "online/DownloadFile.h"
#include "platform/profile/ProfileString.h"

namespace online {

namespace {

constexpr const char* kSection = "Info Set";

std::string EntryKey(std::int32_t number, const char* suffix) {
    return "Info" + std::to_string(number) + "_" + suffix;
}

} // namespace

std::string BannerLocalPath(const std::string& programFolder, const std::string& languageName) {
    return programFolder + "showinfo/" + languageName + ".ini";
}

std::string BannerServerUrl(const std::string& serverAddress, const std::string& languageName) {
    return serverAddress + "//showinfo//sondrel//" + languageName + ".ini";
}

BannerSettings ReadBannerSettings(const std::string& bannerPath) {
    BannerSettings settings;
    settings.timeMs =
        DecimalValue32(platform::GetPrivateProfileString(kSection, "Time", "3500", bannerPath));
    const std::string count = platform::GetPrivateProfileString(kSection, "Count", "0", bannerPath);
    settings.rotating = count != "0";
    settings.count = settings.rotating ? DecimalValue32(count) : 0;
    return settings;
}

BannerEntry ReadBannerEntry(const std::string& bannerPath, std::int32_t number) {
    return {platform::GetPrivateProfileString(kSection, EntryKey(number, "str"), "", bannerPath),
            platform::GetPrivateProfileString(kSection, EntryKey(number, "link"), "", bannerPath)};
}

BannerSettings FetchBanner(const std::string& url, const std::string& bannerPath) {
    DownloadFile(url, bannerPath);
    return ReadBannerSettings(bannerPath);
}

} // namespace online
