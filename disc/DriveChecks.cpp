#include "disc/DriveChecks.h"

#include "lang/LangText.h"
#include "util/MessageBox.h"

#include <array>

namespace disc {

namespace {

constexpr int kCapabilitiesPageCode = 0x2A;
constexpr int kCapabilitiesBytes = 26;
constexpr int kNoRecordableDeviceMessage = 16;
// Byte 3 of the capabilities page: CD-R, CD-RW, DVD-R and DVD-RAM writing.
constexpr unsigned char kWriteBits = 0x01 | 0x02 | 0x10 | 0x20;

} // namespace

bool IsReady(quarnel::CDevCmdROM* device) {
    return device != nullptr && device->TestUnitReady() == 0;
}

bool IsWriter(quarnel::CDevCmdROM* device) {
    if (device == nullptr) {
        return false;
    }
    std::array<unsigned char, kCapabilitiesBytes> page{};
    page[0] = kCapabilitiesPageCode & 0x3F;
    quarnel::SenseData_tag sense{};
    if (device->GetParamPage(page.data(), kCapabilitiesBytes, device->GetDeviceID(), sense,
                             kCapabilitiesPageCode) != 0) {
        return true;
    }
    if ((page[3] & kWriteBits) != 0) {
        return true;
    }
    util::ShowMessageBox(lang::GetLangString("Message", kNoRecordableDeviceMessage),
                         util::MB_ICONINFORMATION);
    return false;
}

} // namespace disc
