#pragma once
// The disc's CD-Text as GetCDText leaves it.

#include "components/quarnel/mmc/CdText.h"

#include <string>

namespace quarnel {

struct FS_CDTEXT_INFO {
    CdText text; // every language block as read

    // UTF-8 text of a track (0 = disc) from the lowest-numbered block; empty
    // when the disc has none.
    [[nodiscard]] std::string Title(int track) const { return Get(cdtext::kTitle, track); }
    [[nodiscard]] std::string Performer(int track) const { return Get(cdtext::kPerformer, track); }

private:
    [[nodiscard]] std::string Get(std::uint8_t type, int track) const {
        if (text.blocks.empty() || track < 0) {
            return {};
        }
        return text.blocks.front().Utf8(type, static_cast<std::size_t>(track));
    }
};

} // namespace quarnel
