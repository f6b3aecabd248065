#pragma once
// The HTTP file download shared by the info banner and the update check.

#include <cstdint>
#include <string>

namespace online {

// What one download may cost: the largest body accepted, the longest the whole
// transfer may take (besides the stall time-out), and whether the file is a
// program (created runnable, as far as the umask allows) or plain data.
struct DownloadLimits {
    std::int64_t maxBytes = 0;
    long deadlineMs = 0;
    bool runnable = false;
};

// The .ini files of the banner and the update check.
inline constexpr DownloadLimits kIniDownload{std::int64_t{1} << 20, 60'000, false};
// The updater program.
inline constexpr DownloadLimits kUpdaterDownload{std::int64_t{100} << 20, 600'000, true};

// Fetches `url` (backslashes read as slashes) into `localPath`. False without
// touching the local file when the address cannot be opened, the server
// answers with a status other than 2xx, announces no Content-Length, one of 0
// or less or one above `limits.maxBytes`, or the local file already has
// exactly the announced size. Otherwise the local file is removed and created
// anew, exclusively and never through a link, and the body written into it;
// true exactly when the announced length arrived, no more and no less, within
// the deadline. A failed download removes what it wrote: nothing is kept.
bool DownloadFile(const std::string& url, const std::string& localPath,
                  const DownloadLimits& limits);

} // namespace online
