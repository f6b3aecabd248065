#include "components/quarnel/mmc/Toc.h"

#include "components/quarnel/mmc/ByteOrder.h"

#include <algorithm>

namespace quarnel {

namespace {

constexpr std::uint8_t kLastTrackNumber = 99;

// The reply cut to its declared length; ok is false when the header is
// missing or claims less than itself.
struct Body {
    std::span<const std::uint8_t> bytes; // after the 4-byte header
    std::size_t declared = 0;            // bytes the header says follow it
    bool ok = false;
};

Body TakeBody(std::span<const std::uint8_t> reply) {
    Body body;
    if (reply.size() < kTocHeaderLength) {
        return body;
    }
    const std::size_t declared = std::size_t{2} + GetBe16(reply, 0);
    if (declared < kTocHeaderLength) {
        return body;
    }
    body.declared = declared - kTocHeaderLength;
    body.bytes = reply.first(std::min(reply.size(), declared)).subspan(kTocHeaderLength);
    body.ok = true;
    return body;
}

bool ValidTrack(std::uint8_t track) {
    return (track >= 1 && track <= kLastTrackNumber) || track == kLeadOutTrack;
}

} // namespace

Parsed<TrackToc> ParseTrackToc(std::span<const std::uint8_t> reply) {
    const Body body = TakeBody(reply);
    if (!body.ok) {
        return Parsed<TrackToc>::Fail(ParseError::TooShort);
    }
    if (body.declared % kTocEntryLength != 0) {
        return Parsed<TrackToc>::Fail(ParseError::WrongFormat);
    }
    Parsed<TrackToc> result;
    result.value.firstTrack = reply[2];
    result.value.lastTrack = reply[3];
    for (std::size_t at = 0; at + kTocEntryLength <= body.bytes.size(); at += kTocEntryLength) {
        const auto entry = body.bytes.subspan(at, kTocEntryLength);
        if (entry[0] != 0 || !ValidTrack(entry[2])) {
            return Parsed<TrackToc>::Fail(ParseError::WrongFormat);
        }
        result.value.entries.push_back({entry[1], entry[2], GetBe32(entry, 4)});
    }
    return result;
}

Parsed<std::vector<FullTocDescriptor>>
ParseFullTocDescriptors(std::span<const std::uint8_t> descriptors) {
    Parsed<std::vector<FullTocDescriptor>> result;
    for (std::size_t at = 0; at + kFullTocDescriptorLength <= descriptors.size();
         at += kFullTocDescriptorLength) {
        const auto d = descriptors.subspan(at, kFullTocDescriptorLength);
        if (d[0] == 0) {
            return Parsed<std::vector<FullTocDescriptor>>::Fail(ParseError::WrongFormat);
        }
        result.value.push_back(
            {d[0], {d[1], d[2], d[3], d[4], d[5], d[6], d[7], d[8], d[9], d[10]}});
    }
    return result;
}

Parsed<FullToc> ParseFullToc(std::span<const std::uint8_t> reply) {
    const Body body = TakeBody(reply);
    if (!body.ok) {
        return Parsed<FullToc>::Fail(ParseError::TooShort);
    }
    if (body.declared % kFullTocDescriptorLength != 0) {
        return Parsed<FullToc>::Fail(ParseError::WrongFormat);
    }
    Parsed<std::vector<FullTocDescriptor>> descriptors = ParseFullTocDescriptors(body.bytes);
    if (!descriptors.Ok()) {
        return Parsed<FullToc>::Fail(descriptors.error);
    }
    Parsed<FullToc> result;
    result.value.firstSession = reply[2];
    result.value.lastSession = reply[3];
    for (const FullTocDescriptor& d : descriptors.value) {
        if (d.session < result.value.firstSession || d.session > result.value.lastSession) {
            return Parsed<FullToc>::Fail(ParseError::WrongFormat);
        }
    }
    result.value.descriptors = std::move(descriptors.value);
    return result;
}

} // namespace quarnel
