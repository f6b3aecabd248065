#pragma once
// The program-wide state of a take beside that of capture (RecordingState.h):
// the capacity read-out and the disc track being written. The session writes
// them on the thread that prepares the take; the CD writer thread counts
// g_discFree down and may set g_closeDisc when the disc fills. They are only
// read-outs and flags: relaxed ordering suffices, the threads are ordered by
// starting and joining the writer thread.

#include <atomic>
#include <cstdint>

// Capacity of the take's target: MiB of the output file's volume, or the
// usable end of the disc in sectors.
extern std::atomic<std::uint32_t> g_discTotal;
// The free part of it, in the same unit.
extern std::atomic<std::uint32_t> g_discFree;
// The number of the disc track being written.
extern std::atomic<std::uint32_t> g_trackNumber;
// Close the session (finalise the disc) once the track is finished.
extern std::atomic<bool> g_closeDisc;
