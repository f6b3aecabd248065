#pragma once
// The HTTP file download shared by the info banner and the update check.

#include <string>

namespace online {

// Fetches `url` (backslashes read as slashes) into `localPath`. False without
// touching the local file when the address cannot be opened, the server
// answers 404, announces no Content-Length or one of 0 or less, or the local
// file already has exactly the announced size. Otherwise the file is replaced
// by the body, read 1024 bytes at a time; true exactly when the whole
// announced length arrived. A short transfer leaves the partial file.
bool DownloadFile(const std::string& url, const std::string& localPath);

} // namespace online
