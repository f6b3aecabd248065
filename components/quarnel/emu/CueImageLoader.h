#pragma once
// Makes a pressed audio CD from a CUE sheet and its BINARY files: the files
// are copied, one after another, into the drive's own image, and the tracks,
// catalogue number and CD-Text of the sheet become the disc state. A file
// named in the sheet is looked up in the sheet's folder, ignoring letter case
// when the exact name is missing (sheets made on other systems often differ).

#include "components/quarnel/emu/DiscState.h"

#include <filesystem>
#include <string>

namespace quarnel::emu {

struct CueImageResult {
    bool ok = false;
    DiscState state;
    std::string error;
};

[[nodiscard]] CueImageResult LoadCueImage(const std::filesystem::path& cuePath,
                                          const std::filesystem::path& destinationBin);

// The file `name` in `folder`, or one whose name differs only in letter case.
[[nodiscard]] std::filesystem::path FindFileIgnoringCase(const std::filesystem::path& folder,
                                                         const std::string& name);

} // namespace quarnel::emu
