#pragma once
// The kinds of drive, medium, blanking and track addressing the device
// classes deal in.

#include <cstdint>

namespace quarnel {

// What the drive can do, from its capabilities page. Read-only drives (0 and
// 2) cannot erase.
enum CD_DEV_TYPE : std::uint32_t {
    DEV_CDROM = 0,  // reads CDs only
    DEV_CDRW = 1,   // writes CDs (a DVD reader writing CDs included)
    DEV_DVDROM = 2, // reads DVDs, writes nothing
    DEV_DVDRW = 3,  // writes DVDs; also what an unreadable page is taken for
};

// The medium in the drive: the MMC profile number of GET CONFIGURATION.
enum MEDIUM_TYPE : std::uint32_t {
    MEDIUM_NONE = 0x0000,
    MEDIUM_CD_ROM = 0x0008,
    MEDIUM_CD_R = 0x0009,
    MEDIUM_CD_RW = 0x000A,
    MEDIUM_DVD_ROM = 0x0010,
    MEDIUM_DVD_R = 0x0011,
    MEDIUM_DVD_RAM = 0x0012,
    MEDIUM_DVD_RW_RESTRICTED = 0x0013,
    MEDIUM_DVD_RW_SEQUENTIAL = 0x0014,
    MEDIUM_DVD_PLUS_RW = 0x001A,
    MEDIUM_DVD_PLUS_R = 0x001B,
    // Both DVD-RW profiles in one number (13h, 14h); handled like 13h.
    MEDIUM_DVD_RW_EITHER = 0x1314,
};

// BLANK command blanking types.
enum BLANK_TYPE : std::uint32_t {
    BLANK_DISC = 0,
    BLANK_MINIMAL = 1,
    BLANK_TRACK = 2,
    BLANK_UNRESERVE_TRACK = 3,
    BLANK_TRACK_TAIL = 4,
    BLANK_UNCLOSE_SESSION = 5,
    BLANK_SESSION = 6,
};

// How READ TRACK INFORMATION names its track.
enum READ_TRACK_INFO_TYPE : std::uint32_t {
    TRACK_INFO_BY_LBA = 0,
    TRACK_INFO_BY_TRACK = 1,
    TRACK_INFO_BY_SESSION = 2,
};

} // namespace quarnel
