#pragma once
// The table of contents of one session, from the full-TOC entries of its
// lead-in (Q mode 1): its tracks, first and last track numbers and lead-out.

#include "components/quarnel/mmc/Toc.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace quarnel {

class TocData {
public:
    // One full-TOC entry without its session byte: byte 0 ADR/CONTROL
    // (CONTROL bit 2 = data track), bytes 7-9 the track's start.
    using _Data = FullTocEntry;

    TocData() = default;
    // The entries of this session only.
    explicit TocData(std::span<const FullTocDescriptor> descriptors);

    // From the A0h/A1h entries, or the lowest and highest track entry when a
    // drive leaves those out; 0 without tracks.
    [[nodiscard]] int GetFirstTrackNo() const;
    [[nodiscard]] int GetLastTrackNo() const;
    [[nodiscard]] bool GetTrackData(int track, _Data& data) const;
    // The lead-out's address (A2h), 0 when the session has none.
    [[nodiscard]] std::uint32_t GetLeadOutStartPosEx() const;

private:
    static constexpr std::size_t kPoints = 100;

    std::array<std::optional<_Data>, kPoints> m_tracks{};
    std::optional<_Data> m_first;
    std::optional<_Data> m_last;
    std::optional<_Data> m_leadOut;
};

} // namespace quarnel
