#pragma once
// Write parameters handed to CDevCmdRW::SetWriteParam: a 32-bit write type,
// then eight bytes. The device turns them into mode page 05h.

#include <cstdint>

namespace quarnel {

struct WriteParam {
    std::uint32_t writeType = 0;    // 1 track-at-once, 2 session-at-once
    std::uint8_t trackMode = 0;     // byte 0: 0 audio, 5 data recorded incrementally
    std::uint8_t copy = 0;          // byte 1: 1 sets the copy bit (SCMS)
    std::uint8_t reserved = 0;      // byte 2
    std::uint8_t audioPause = 0;    // byte 3: 1 gives the 150-sector (2 s) pause
    std::uint8_t keepOpen = 0;      // byte 4: 1 leaves room for another session
    std::uint8_t sessionFormat = 0; // byte 5: 00h CD-DA/CD-ROM, 10h CD-I, 20h CD-ROM XA
    std::uint8_t dataBlockType = 0; // byte 6: 0 raw 2,352 bytes, 8 mode 1 (2,048 bytes)
    std::uint8_t testWrite = 0;     // byte 7: 1 simulates, the laser stays cold

    // An audio take written track-at-once.
    [[nodiscard]] static WriteParam AudioTrackAtOnce(bool keepSessionOpen) {
        WriteParam param;
        param.writeType = 1;
        param.audioPause = 1;
        param.keepOpen = keepSessionOpen ? 1 : 0;
        return param;
    }

    // Overwriting the start of a DVD-RAM with zeros (erasing it):
    // session-at-once, data recorded incrementally, 2,048-byte blocks.
    [[nodiscard]] static WriteParam DvdRamErase() {
        WriteParam param;
        param.writeType = 2;
        param.trackMode = 5;
        param.audioPause = 1;
        param.dataBlockType = 8;
        return param;
    }
};
static_assert(sizeof(WriteParam) == 12);

} // namespace quarnel
