#include "tools/cli/DiscInfo.h"

#include "components/quarnel/device/CDevCmdRW.h"
#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/mmc/CommandBuilders.h"
#include "tools/cli/StatusText.h"

#include <array>
#include <cstdio>

namespace cli {

namespace {

const char* DiscStatusName(std::uint8_t status) {
    constexpr std::array<const char*, 4> kNames{"blank", "appendable", "complete", "other"};
    return kNames[status & 0x03];
}

const char* SessionStateName(std::uint8_t state) {
    constexpr std::array<const char*, 4> kNames{"empty", "incomplete", "damaged", "complete"};
    return kNames[state & 0x03];
}

void PrintFailure(const char* what, std::uint32_t status) {
    std::printf("%s: cannot be read: %s\n", what, quarnel::status::Text(status).c_str());
}

// Next writable address and free sectors of the invisible track; false when
// they could not be read.
bool PrintWritableSpace(quarnel::CDevCmdROM& device, const quarnel::DISC_INFO& disc) {
    auto* writer = dynamic_cast<quarnel::CDevCmdRW*>(&device);
    if (writer == nullptr) {
        std::printf("next writable address: none (the drive cannot write)\nfree sectors: 0\n");
        return true;
    }
    if (disc.discStatus == quarnel::disc::kStatusComplete) {
        std::printf("next writable address: none (the disc is complete)\nfree sectors: 0\n");
        return true;
    }
    unsigned long next = 0;
    if (const std::uint32_t result = writer->GetNextWriteAdd(next); result != 0) {
        PrintFailure("next writable address", result);
        return false;
    }
    std::printf("next writable address: %lu\n", next);
    quarnel::TRACK_INFO invisible{};
    if (const std::uint32_t result = device.ReadTrackInfoEx(invisible, quarnel::TRACK_INFO_BY_TRACK,
                                                            quarnel::cdb::kInvisibleTrack);
        result != 0) {
        PrintFailure("free sectors", result);
        return false;
    }
    std::printf("free sectors: %u\n", invisible.freeBlocks);
    return true;
}

} // namespace

int PrintDiscInfo(quarnel::CDevCmdROM& device) {
    std::printf("medium: %s\n", MediumName(device.GetMediumType()).c_str());
    quarnel::DISC_INFO disc{};
    if (const std::uint32_t result = device.ReadDiscInfo(disc); result != 0) {
        PrintFailure("disc information", result);
        return 1;
    }
    std::printf("disc: %s\n", DiscStatusName(disc.discStatus));
    std::printf("sessions: %u (last one %s)\n", unsigned{disc.sessions},
                SessionStateName(disc.lastSessionState));
    bool complete = true;
    int tracks = 0;
    for (unsigned number = disc.firstTrack; number <= disc.lastTrackLastSession; ++number) {
        quarnel::TRACK_INFO track{};
        if (const std::uint32_t result =
                device.ReadTrackInfoEx(track, quarnel::TRACK_INFO_BY_TRACK, number);
            result != 0) {
            std::printf("track %u: cannot be read: %s\n", number,
                        quarnel::status::Text(result).c_str());
            complete = false;
            continue;
        }
        if (track.blank) {
            continue; // the invisible track that takes the next recording
        }
        ++tracks;
        std::printf("track %u: session %u, start %u, length %u\n", unsigned{track.track},
                    unsigned{track.session}, track.start, track.size);
    }
    std::printf("tracks: %d\n", tracks);
    complete = PrintWritableSpace(device, disc) && complete;
    return complete ? 0 : 1;
}

} // namespace cli
