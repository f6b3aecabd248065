#pragma once
// The info banner's file: section "Info Set" with "Count" messages, each
// "Info<n>_str" (its text) and "Info<n>_link" (what a click opens), shown in
// turn every "Time" milliseconds. One file per language, downloaded at every
// start into a "showinfo" folder: the online services' work folder's
// (OnlineSite.h), or the user's data folder's when that cannot be written.

#include <cstdint>
#include <string>

namespace online {

struct BannerSettings {
    // Rotation period in milliseconds.
    std::int32_t timeMs = 3500;
    // Number of messages.
    std::int32_t count = 0;
    // False when "Count" is missing or exactly "0": the banner stays empty.
    bool rotating = false;
};

struct BannerEntry {
    std::string text;
    std::string link;
};

// "<work folder>showinfo/<language name>.ini", the "showinfo" folder
// created when missing. When it cannot be created or written, the file is
// "showinfo/<language name>.ini" in the user's data folder, created as well.
std::string BannerLocalPath(const std::string& workFolder, const std::string& languageName);

// The server's copy: the address followed by "//showinfo//sondrel//<name>.ini".
std::string BannerServerUrl(const std::string& serverAddress, const std::string& languageName);

BannerSettings ReadBannerSettings(const std::string& bannerPath);

// Message `number`'s text and link; empty for keys that are missing.
BannerEntry ReadBannerEntry(const std::string& bannerPath, std::int32_t number);

// Downloads the server's banner file over the local one (a failed or skipped
// download leaves whatever local file there is) and reads its settings.
BannerSettings FetchBanner(const std::string& url, const std::string& bannerPath);

} // namespace online
