#include "disc/TrackListReader.h"

#include "components/quarnel/device/CDevCmdRW.h"
#include "components/quarnel/device/SessionInfo.h"
#include "components/quarnel/mmc/Msf.h"
#include "disc/DriveChecks.h"
#include "lang/LangText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace disc {

namespace {

constexpr long kTocBytes = 2048;
constexpr int kFullTocFormat = 2;
constexpr int kDataTrackBit = 0x04;
constexpr int kUntitledKey = 26; // "Track " in the UIText section

std::string Decimal(std::int64_t value) {
    return std::to_string(static_cast<std::int32_t>(value));
}

std::uint32_t StartOf(const quarnel::TocData::_Data& data) {
    return quarnel::MsfToLba({data.pmin, data.psec, data.pframe});
}

// The sector after track `track`, the last of session `session`: the
// lead-out, or when the session gives none the next session's track.
std::uint32_t FollowingSessionStart(const quarnel::SessionInfo& sessions, int session, int track) {
    const quarnel::TocData& toc = *sessions.GetTocData(session);
    quarnel::TocData::_Data next;
    if (toc.GetLeadOutStartPosEx() == 0 && session < sessions.GetSessionCount() &&
        sessions.GetTocData(session + 1)->GetTrackData(track + 1, next)) {
        return StartOf(next);
    }
    return toc.GetLeadOutStartPosEx();
}

// A track-at-once track on a CD-R or CD-RW is followed by its run-out and the
// next track's pre-gap, which the table of contents counts to it: its own
// size comes from READ TRACK INFORMATION.
std::uint32_t RecordedEnd(quarnel::CDevCmdROM& device, int track, std::uint32_t start,
                          std::uint32_t tocEnd) {
    quarnel::TRACK_INFO info{};
    if (device.ReadTrackInfoEx(info, quarnel::TRACK_INFO_BY_TRACK, track) != 0 ||
        info.start != start || info.size == 0 || start + info.size - 1 >= tocEnd) {
        return tocEnd;
    }
    return start + info.size - 1;
}

} // namespace

std::string FormatLength(std::int32_t frames) {
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%02d:%02d:%02d", frames / 4500, frames / 75 % 60,
                  frames % 75);
    return text.data();
}

std::string UntitledText(const std::string& trackText) {
    return lang::GetLangString("UIText", kUntitledKey) + trackText;
}

TrackListReader::TrackListReader(ITrackRows& rows, TrackAddressTable& addresses)
    : m_rows(rows), m_addresses(addresses) {}

void TrackListReader::ReadDisc(quarnel::CDevCmdROM* device) {
    m_device = device;
    if (device == nullptr) {
        return;
    }
    m_rows.DeleteAllRows();
    if (!IsReady(device)) {
        return;
    }
    quarnel::FS_CDTEXT_INFO text;
    static_cast<void>(device->GetCDText(text)); // an unread record leaves the titles empty
    std::vector<unsigned char> toc(kTocBytes);
    const bool tocRead = device->ReadToc(toc.data(), kTocBytes, kFullTocFormat, 0) == 0 ||
                         device->ReadTocEx(toc.data(), kTocBytes, kFullTocFormat, 0) == 0;
    m_addresses.Clear();
    const quarnel::MEDIUM_TYPE medium = device->GetMediumType();
    const bool recordable = medium == quarnel::MEDIUM_CD_R || medium == quarnel::MEDIUM_CD_RW;
    const int lastListed = tocRead ? FillRows(*device, recordable, toc.data(), text) : 0;
    AddUnlistedTracks(*device, lastListed, text);
    if (m_rows.RowCount() == 0) {
        return;
    }
    m_rows.SelectRow(0);
    if (recordable) {
        ExtendToNextWritable(*device);
    }
}

int TrackListReader::FillRows(quarnel::CDevCmdROM& device, bool recordable,
                              const unsigned char* toc, const quarnel::FS_CDTEXT_INFO& text) {
    const quarnel::SessionInfo sessions(toc + 4, (toc[0] << 8 | toc[1]) - 2);
    int lastListed = 0;
    for (int s = 1; s <= sessions.GetSessionCount(); ++s) {
        const quarnel::TocData& session = *sessions.GetTocData(s);
        for (int t = session.GetFirstTrackNo(); t >= 1 && t <= session.GetLastTrackNo(); ++t) {
            lastListed = std::max(lastListed, t);
            quarnel::TocData::_Data data;
            if (!session.GetTrackData(t, data) || (data.Control() & kDataTrackBit) != 0) {
                continue;
            }
            quarnel::TocData::_Data next;
            const std::uint32_t following =
                t < session.GetLastTrackNo() && session.GetTrackData(t + 1, next)
                    ? StartOf(next)
                    : FollowingSessionStart(sessions, s, t);
            const std::uint32_t start = StartOf(data);
            AddRow(t, start,
                   recordable ? RecordedEnd(device, t, start, following - 1) : following - 1, text);
        }
    }
    return lastListed;
}

void TrackListReader::AddUnlistedTracks(quarnel::CDevCmdROM& device, int lastListed,
                                        const quarnel::FS_CDTEXT_INFO& text) {
    quarnel::DISC_INFO info{};
    if (device.ReadDiscInfo(info) != 0 || info.discStatus == quarnel::disc::kStatusComplete) {
        return;
    }
    const int first = std::max<int>(lastListed + 1, info.firstTrackLastSession);
    for (int t = first; t >= 1 && t <= info.lastTrackLastSession; ++t) {
        quarnel::TRACK_INFO track{};
        // The invisible track and one still being written have no end yet.
        if (device.ReadTrackInfoEx(track, quarnel::TRACK_INFO_BY_TRACK, t) != 0 || track.blank ||
            track.nextWritableValid || track.size == 0 || (track.trackMode & kDataTrackBit) != 0) {
            continue;
        }
        AddRow(t, track.start, track.start + track.size - 1, text);
    }
}

void TrackListReader::AddRow(int track, std::uint32_t start, std::uint32_t end,
                             const quarnel::FS_CDTEXT_INFO& text) {
    const int row = m_rows.RowCount();
    m_rows.InsertRow(row, std::to_string(track));
    if (track <= TrackAddressTable::kMaxTrack) {
        m_addresses.start[static_cast<std::size_t>(track)] = start;
        m_addresses.end[static_cast<std::size_t>(track)] = end;
    }
    std::string title = text.Title(track);
    if (title.empty()) {
        title = UntitledText(std::to_string(track));
    }
    m_rows.SetCell(row, kColumnTitle, title);
    m_rows.SetCell(row, kColumnTimes, FormatLength(static_cast<std::int32_t>(end - start)));
    m_rows.SetCell(row, kColumnStart, Decimal(start));
    m_rows.SetCell(row, kColumnEnd, Decimal(end));
}

void TrackListReader::ExtendToNextWritable(quarnel::CDevCmdROM& device) {
    auto* writer = dynamic_cast<quarnel::CDevCmdRW*>(&device);
    if (writer == nullptr) {
        return;
    }
    quarnel::DISC_INFO info{};
    if (writer->ReadDiscInfo(info) != 0 || info.discStatus == quarnel::disc::kStatusComplete) {
        return;
    }
    unsigned long next = 0;
    if (writer->GetNextWriteAdd(next) != 0) {
        return;
    }
    unsigned long end = next; // the last row's last sector
    if (info.lastSessionState == quarnel::disc::kSessionIncomplete &&
        next > quarnel::kTrackGapBlocks) {
        // The next track's pre-gap follows this one's run-out: the track ends
        // with the sector before its run-out, and nothing of the gap is saved
        // or played as part of it.
        next -= quarnel::kTrackGapBlocks;
        end = next - 1;
    }
    const int last = m_rows.RowCount() - 1;
    m_rows.SetCell(last, kColumnEnd, Decimal(static_cast<std::int64_t>(end)));
    if (m_rows.RowCount() <= TrackAddressTable::kMaxTrack) {
        m_addresses.end[static_cast<std::size_t>(m_rows.RowCount())] =
            static_cast<std::uint32_t>(end);
    }
    const long start = std::strtol(m_rows.Cell(last, kColumnStart).c_str(), nullptr, 10);
    if (start <= static_cast<long>(next)) {
        m_rows.SetCell(last, kColumnTimes,
                       FormatLength(static_cast<std::int32_t>(static_cast<long>(next) - start)));
    }
}

} // namespace disc
