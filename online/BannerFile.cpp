#include "online/BannerFile.h"

#include "online/DecimalText.h"
#include "online/DownloadFile.h"
#include "platform/profile/ProfileString.h"
#include "util/Environment.h"

#include <filesystem>
#include <unistd.h>

namespace online {

namespace {

constexpr const char* kSection = "Info Set";

std::string EntryKey(std::int32_t number, const char* suffix) {
    return "Info" + std::to_string(number) + "_" + suffix;
}

constexpr const char* kBannerFolder = "showinfo";

// Whether `folder` is a directory (created when missing) that can be written.
bool WritableFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return std::filesystem::is_directory(folder, error) &&
           ::access(folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace

std::string BannerLocalPath(const std::string& workFolder, const std::string& languageName) {
    std::filesystem::path folder = std::filesystem::path(workFolder) / kBannerFolder;
    if (!WritableFolder(folder)) {
        folder = util::UserDataFolder() / kBannerFolder;
        WritableFolder(folder);
    }
    return (folder / (languageName + ".ini")).string();
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
    DownloadFile(url, bannerPath, kIniDownload);
    return ReadBannerSettings(bannerPath);
}

} // namespace online
