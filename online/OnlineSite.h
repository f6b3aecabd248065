#pragma once
// Where the online services work: the program folder they keep their files in
// and the web server they fetch them from.

#include <string>

namespace online {

struct OnlineSite {
    // The program folder, ending in '/'.
    std::string programFolder;
    // The server's address, e.g. "http://127.0.0.1:8080"; empty when none is
    // set, and then every fetch fails at once and silently.
    std::string serverAddress;
};

// The server address set in the program folder's SoftSet.ini: key "Server" of
// section "Online"; empty when there is none.
std::string ServerAddressSetting(const std::string& programFolder);

// The running program's folder and its server setting.
OnlineSite DefaultOnlineSite();

} // namespace online
