#include "components/quarnel/device/TocData.h"

#include "components/quarnel/mmc/Msf.h"

namespace quarnel {

namespace {

constexpr std::uint8_t kAdrPosition = 1;

} // namespace

TocData::TocData(std::span<const FullTocDescriptor> descriptors) {
    for (const FullTocDescriptor& descriptor : descriptors) {
        const FullTocEntry& d = descriptor.entry;
        if (d.Adr() != kAdrPosition) {
            continue; // mode-5 entries: next program area, skip intervals
        }
        if (d.point >= 1 && d.point < kPoints) {
            m_tracks[d.point] = d;
        } else if (d.point == point::kFirstTrack) {
            m_first = d;
        } else if (d.point == point::kLastTrack) {
            m_last = d;
        } else if (d.point == point::kLeadOut) {
            m_leadOut = d;
        }
    }
}

int TocData::GetFirstTrackNo() const {
    if (m_first) {
        return m_first->pmin;
    }
    for (std::size_t track = 1; track < kPoints; ++track) {
        if (m_tracks[track]) {
            return static_cast<int>(track);
        }
    }
    return 0;
}

int TocData::GetLastTrackNo() const {
    if (m_last) {
        return m_last->pmin;
    }
    for (std::size_t track = kPoints - 1; track >= 1; --track) {
        if (m_tracks[track]) {
            return static_cast<int>(track);
        }
    }
    return 0;
}

bool TocData::GetTrackData(int track, _Data& data) const {
    if (track < 1 || track >= static_cast<int>(kPoints) || !m_tracks[track]) {
        return false;
    }
    data = *m_tracks[track];
    return true;
}

std::uint32_t TocData::GetLeadOutStartPosEx() const {
    if (!m_leadOut) {
        return 0;
    }
    return MsfToLba({m_leadOut->pmin, m_leadOut->psec, m_leadOut->pframe});
}

} // namespace quarnel
