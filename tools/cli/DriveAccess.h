#pragma once
// The drive list of one sondrel-cli run, built as the program builds it: the
// machine's drives first, then the emulated drives. Commands name a drive by
// its letter ("D", "d" or "D:"), an emulated drive also by its folder's name.

#include "components/quarnel/device/DevDeque.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emudrives/EmulatedDriveProvider.h"

#include <string_view>

namespace cli {

class DriveAccess {
public:
    // Builds the list; tells on stderr about drive folders it had to leave out.
    DriveAccess();

    [[nodiscard]] const quarnel::DevDeque& Drives() const { return m_drives; }
    // The drive with that letter; null, with a message on stderr, when none has it.
    [[nodiscard]] quarnel::CDevCmdROM* DriveOf(std::string_view letter) const;
    // The emulated drive behind a listed drive; null, with a message on
    // stderr, for a real drive.
    [[nodiscard]] quarnel::emu::EmulatedDrive* EmulatedOf(const quarnel::CDevCmdROM& device) const;

private:
    quarnel::EmulatedDriveProvider& m_provider;
    quarnel::DevDeque m_drives;
};

} // namespace cli
