#include "tools/cli/DriveAccess.h"

#include "disc/DriveList.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>

namespace cli {

DriveAccess::DriveAccess() : m_provider(quarnel::RegisterEmulatedDrives()) {
    for (const std::string& problem : m_provider.Problems()) {
        std::fprintf(stderr, "sondrel-cli: emulated drive left out: %s\n", problem.c_str());
    }
}

quarnel::CDevCmdROM* DriveAccess::DriveOf(std::string_view letter) const {
    const bool wellFormed = (letter.size() == 1 || (letter.size() == 2 && letter[1] == ':')) &&
                            std::isalpha(static_cast<unsigned char>(letter[0])) != 0;
    std::string text(letter);
    if (wellFormed) {
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    }
    quarnel::CDevCmdROM* device = wellFormed ? disc::DriveOfEntry(m_drives, text) : nullptr;
    // An emulated drive may also be named by its folder's name, which never
    // changes, whatever letter it has.
    for (int i = 0; device == nullptr && i < m_drives.GetDevCount(); ++i) {
        quarnel::CDevCmdROM* candidate = m_drives.GetDequeItem(i);
        if (m_provider.Find(*candidate) != nullptr &&
            std::filesystem::path(candidate->GetDeviceName()).filename() == letter) {
            device = candidate;
        }
    }
    if (device == nullptr) {
        std::fprintf(stderr, "sondrel-cli: no drive %.*s (see sondrel-cli drives)\n",
                     static_cast<int>(letter.size()), letter.data());
    }
    return device;
}

quarnel::emu::EmulatedDrive* DriveAccess::EmulatedOf(const quarnel::CDevCmdROM& device) const {
    quarnel::emu::EmulatedDrive* drive = m_provider.Find(device);
    if (drive == nullptr) {
        std::fprintf(stderr, "sondrel-cli: %c: is a real drive (%s); put its discs in by hand\n",
                     'A' + device.GetDeviceID(), device.GetDeviceName().c_str());
    }
    return drive;
}

} // namespace cli
