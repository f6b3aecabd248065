#include "disc/LeftOpenTrack.h"

#include "components/quarnel/device/CDevCmdRW.h"
#include "components/quarnel/mmc/CommandBuilders.h"

#include <chrono>
#include <thread>

namespace disc {

namespace {

// Writing out a full drive buffer takes seconds at most; a drive that stays
// busy longer (or was taken away) is not waited for beyond this.
constexpr int kMaxReadyPolls = 300;
constexpr auto kReadyPollPause = std::chrono::milliseconds(100);

} // namespace

int CloseLeftOpenTrack(quarnel::CDevCmdRW& writer) {
    quarnel::TRACK_INFO track{};
    if (writer.ReadTrackInfoEx(track, quarnel::TRACK_INFO_BY_TRACK,
                               quarnel::cdb::kInvisibleTrack) != 0) {
        return 0;
    }
    // A blank invisible track, or a medium written at random (its one track
    // starts and continues at 0), has nothing left open.
    if (track.blank || !track.nextWritableValid || track.nextWritable <= track.start) {
        return 0;
    }
    writer.SynCache();
    for (int poll = 0; poll < kMaxReadyPolls && writer.TestUnitReady() != 0; ++poll) {
        std::this_thread::sleep_for(kReadyPollPause);
    }
    return writer.CloseTrack(track.track) == 0 ? track.track : 0;
}

} // namespace disc
