#pragma once
// The entries of a drive selector: "D: " followed by the drive's inquiry text
// (vendor, product and revision as the drive gives them), one per drive that
// has a letter and answers INQUIRY, in drive-list order.

#include "components/quarnel/device/DevDeque.h"

#include <string>
#include <vector>

namespace disc {

struct DriveEntry {
    quarnel::CDevCmdROM* device = nullptr;
    std::string text; // "D: VENDOR  PRODUCT         REV."
};

[[nodiscard]] std::vector<DriveEntry> ListDrives(const quarnel::DevDeque& drives);

// The drive an entry's text names by its first letter; null when the text is
// empty or no drive has that letter.
[[nodiscard]] quarnel::CDevCmdROM* DriveOfEntry(const quarnel::DevDeque& drives,
                                                const std::string& text);

} // namespace disc
