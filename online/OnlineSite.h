#pragma once
// Where the online services work: the program folder they read their texts
// from, the folder they keep their downloads in and the web server they fetch
// them from.

#include <string>

namespace online {

struct OnlineSite {
    // The program folder, ending in '/'.
    std::string programFolder;
    // The server's address, e.g. "http://127.0.0.1:8080"; empty when none is
    // set, and then every fetch fails at once and silently.
    std::string serverAddress;
    // The folder of the downloads (update, update.ini, update.d, showinfo/),
    // ending in '/': the program folder, or the user's data folder for an
    // installed program.
    std::string workFolder;
};

// The server address set in the program folder's SoftSet.ini (or the user's
// own copy, util::SettingsFile): key "Server" of section "Online"; empty when
// there is none.
std::string ServerAddressSetting(const std::string& programFolder);

// The running program's folders and its server setting; the work folder is
// created when missing.
OnlineSite DefaultOnlineSite();

} // namespace online
