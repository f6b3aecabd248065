#pragma once
// The pause between two looks at a ring's counters while a side has to wait.
// It bounds how late a side notices room, data or a stop.

#include <chrono>

inline constexpr std::chrono::milliseconds kRingPollPause{50};
