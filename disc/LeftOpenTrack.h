#pragma once
// A take that was cut off (the program killed, the power gone) before its
// track was closed leaves the track incomplete: the drive's invisible track
// already holds written blocks, and a new take would only continue it. Before
// a take, and when the disc is looked at, such a track is closed (after the
// drive has written out its cache), so that the next take is a track of its
// own.

namespace quarnel {
class CDevCmdRW;
}

namespace disc {

// The number of the track it closed; 0 when none was left open or it could
// not be closed.
int CloseLeftOpenTrack(quarnel::CDevCmdRW& writer);

} // namespace disc
