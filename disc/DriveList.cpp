#include "disc/DriveList.h"

#include <cstring>

namespace disc {

std::vector<DriveEntry> ListDrives(const quarnel::DevDeque& drives) {
    std::vector<DriveEntry> entries;
    for (int index = 0; index < drives.GetDevCount(); ++index) {
        quarnel::CDevCmdROM* device = drives.GetDequeItem(index);
        const int id = device->GetDeviceID();
        if (id == 0) {
            continue;
        }
        quarnel::INQUIRYDATA inquiry{};
        if (device->Inquiry(inquiry) != 0) {
            continue;
        }
        // The identification runs from byte 8 up to the first NUL.
        const auto* bytes = reinterpret_cast<const char*>(&inquiry);
        const std::size_t at = offsetof(quarnel::INQUIRYDATA, vendorId);
        const std::size_t length = strnlen(bytes + at, sizeof(inquiry) - at);
        std::string text(1, static_cast<char>('A' + id));
        text += ": ";
        text.append(bytes + at, length);
        entries.push_back({device, std::move(text)});
    }
    return entries;
}

quarnel::CDevCmdROM* DriveOfEntry(const quarnel::DevDeque& drives, const std::string& text) {
    if (text.empty() || text.front() < 'A' || text.front() > 'Z') {
        return nullptr;
    }
    return drives.GetDevice(static_cast<unsigned char>(text.front() - 'A'));
}

} // namespace disc
