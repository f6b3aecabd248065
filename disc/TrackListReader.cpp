#include "disc/TrackListReader.h"

#include "components/quarnel/device/CDevCmdRW.h"
#include "components/quarnel/device/SessionInfo.h"
#include "components/quarnel/mmc/Msf.h"
#include "disc/DriveChecks.h"
#include "lang/LangText.h"

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
    if (device->ReadToc(toc.data(), kTocBytes, kFullTocFormat, 0) != 0 &&
        device->ReadTocEx(toc.data(), kTocBytes, kFullTocFormat, 0) != 0) {
        return;
    }
    m_addresses.Clear();
    FillRows(toc.data(), text);
    if (m_rows.RowCount() == 0) {
        return;
    }
    m_rows.SelectRow(0);
    ExtendToNextWritable(*device);
}

void TrackListReader::FillRows(const unsigned char* toc, const quarnel::FS_CDTEXT_INFO& text) {
    const quarnel::SessionInfo sessions(toc + 4, (toc[0] << 8 | toc[1]) - 2);
    for (int s = 1; s <= sessions.GetSessionCount(); ++s) {
        const quarnel::TocData& session = *sessions.GetTocData(s);
        for (int t = session.GetFirstTrackNo(); t >= 1 && t <= session.GetLastTrackNo(); ++t) {
            quarnel::TocData::_Data data;
            if (!session.GetTrackData(t, data) || (data.Control() & kDataTrackBit) != 0) {
                continue;
            }
            quarnel::TocData::_Data next;
            const std::uint32_t following =
                t < session.GetLastTrackNo() && session.GetTrackData(t + 1, next)
                    ? StartOf(next)
                    : FollowingSessionStart(sessions, s, t);
            AddRow(t, StartOf(data), following - 1, text);
        }
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
    const quarnel::MEDIUM_TYPE medium = writer->GetMediumType();
    if (medium != quarnel::MEDIUM_CD_R && medium != quarnel::MEDIUM_CD_RW) {
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
    const int last = m_rows.RowCount() - 1;
    m_rows.SetCell(last, kColumnEnd, Decimal(static_cast<std::int64_t>(next)));
    if (m_rows.RowCount() <= TrackAddressTable::kMaxTrack) {
        m_addresses.end[static_cast<std::size_t>(m_rows.RowCount())] =
            static_cast<std::uint32_t>(next);
    }
    const long start = std::strtol(m_rows.Cell(last, kColumnStart).c_str(), nullptr, 10);
    if (start <= static_cast<long>(next)) {
        m_rows.SetCell(last, kColumnTimes,
                       FormatLength(static_cast<std::int32_t>(static_cast<long>(next) - start)));
    }
}

} // namespace disc
