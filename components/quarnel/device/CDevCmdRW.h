#pragma once
// A drive that can write: the track-at-once writing sequence (write
// parameters, next writable address, writes, cache flush, close track and
// session), erasing, and the write speed.

#include "components/quarnel/device/CDevCmdROM.h"
#include "components/quarnel/device/WriteParam.h"

namespace quarnel {

class CDevCmdRW : public CDevCmdROM {
public:
    using CDevCmdROM::CDevCmdROM;

    // Where the next track starts: the invisible track's next writable
    // address, or that of the last track when the drive wants a real number.
    std::uint32_t GetNextWriteAdd(unsigned long& address);
    // Reads the current write parameters page, applies param and sends it
    // back. Underrun protection is switched on whenever the drive offers it.
    // Random-writable media (DVD-RAM, DVD+RW, restricted-overwrite DVD-RW)
    // take no write parameters: there only readiness is checked.
    std::uint32_t SetWriteParam(WriteParam param);
    // Starts blanking and returns at once; the drive is ready again when
    // TestUnitReady gives 0.
    std::uint32_t Blank(BLANK_TYPE type);
    // Starts a full format of a DVD+RW and returns at once.
    std::uint32_t FormatUnit();
    // sectors blocks of bytes / sectors bytes each from address on.
    std::uint32_t Write(long address, unsigned char* data, unsigned long bytes, int sectors);
    // Starts writing the drive's cache out; TestUnitReady gives 0 when done.
    std::uint32_t SynCache();
    // Waits until the track is closed.
    std::uint32_t CloseTrack(int track);
    // Starts closing the last session (number: the session number field, 0
    // for the open one); TestUnitReady gives 0 when done.
    std::uint32_t CloseSession();
    std::uint32_t CloseSession(unsigned char number);
    // The slowest writing the drive offers, for audio arriving at 1x: a
    // fast drive then empties its buffer less often.
    std::uint32_t SetLowestWriteSpeed();

private:
    // Sends the command with Immed so that the caller can poll; a drive that
    // refuses Immed in this command (invalid field) gets it without and is
    // waited for.
    template <typename Builder> std::uint32_t RunImmediate(Builder build);
};

} // namespace quarnel
