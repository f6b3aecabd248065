#pragma once
// Reading the disc in a drive into a track list: one row per audio track of
// every session (number, title from CD-Text or "Track N", length, first and
// last sector) and the track address table that saving reads. Runs on the
// window's thread; every failure ends it quietly.

#include "components/quarnel/device/CDevCmdROM.h"
#include "disc/ITrackRows.h"
#include "disc/TrackAddressTable.h"

#include <cstdint>
#include <string>

namespace disc {

// A frame count as "mm:ss:ff": minutes not limited to 59, truncating signed
// division, so -1 gives "00:00:-1".
[[nodiscard]] std::string FormatLength(std::int32_t frames);

// The title column of a track without a CD-Text title: "Track " (from the
// language file) and the number.
[[nodiscard]] std::string UntitledText(const std::string& trackText);

// The track list of a disc and the address table it keeps filled.
class TrackListReader {
public:
    TrackListReader(ITrackRows& rows, TrackAddressTable& addresses);

    // Makes `device` the current device and refills the rows and the address
    // table from its disc. A null device leaves the rows as they are; a drive
    // that is not ready, or a disc with neither a readable table of contents
    // nor closed tracks in an open session, leaves the list empty. On a CD-R or CD-RW a
    // track ends where its sound ends, before the run-out and the next track's
    // pre-gap; on an open one the last row ends at the next writable address,
    // less the run-out and pre-gap before it when it follows a track of the
    // same session.
    void ReadDisc(quarnel::CDevCmdROM* device);

    [[nodiscard]] quarnel::CDevCmdROM* CurrentDevice() const { return m_device; }

private:
    // Rows for the audio tracks of the table of contents in `toc`; returns the
    // highest track number it lists.
    // highest track number it lists. `recordable`: the disc is a CD-R or
    // CD-RW, whose tracks end as READ TRACK INFORMATION gives their size.
    int FillRows(quarnel::CDevCmdROM& device, bool recordable, const unsigned char* toc,
                 const quarnel::FS_CDTEXT_INFO& text);
    // Rows for the closed audio tracks after `lastListed` in the last session
    // of a disc that is not complete, from READ TRACK INFORMATION: drives
    // leave the tracks of an open session out of the table of contents.
    void AddUnlistedTracks(quarnel::CDevCmdROM& device, int lastListed,
                           const quarnel::FS_CDTEXT_INFO& text);
    void AddRow(int track, std::uint32_t start, std::uint32_t end,
                const quarnel::FS_CDTEXT_INFO& text);
    // The last row of an open CD-R/CD-RW runs up to the next writable address
    // less the run-out and pre-gap before it.
    void ExtendToNextWritable(quarnel::CDevCmdROM& device);

    ITrackRows& m_rows;
    TrackAddressTable& m_addresses;
    quarnel::CDevCmdROM* m_device = nullptr;
};

} // namespace disc
