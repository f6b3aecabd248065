#include "engine/session/SessionState.h"

std::atomic<std::uint32_t> g_discTotal{0};
std::atomic<std::uint32_t> g_discFree{0};
std::atomic<std::uint32_t> g_trackNumber{0};
std::atomic<bool> g_closeDisc{false};
