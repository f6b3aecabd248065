#pragma once

// Talking to the private sound server that with-pulse.sh starts for a test run.

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace pulsetest {

// True inside with-pulse.sh; tests skip otherwise.
bool serverRunning();
pid_t serverPid();
// Runs "pactl ARGS" and returns what it printed, without the final line break.
std::string pactl(const std::string& arguments);
// The first channel's raw volume of a source as pactl shows it; -1 when unreadable.
long sourceVolume(const std::string& source);
// Adds a null source of that name; returns the module number.
std::string addSource(const std::string& name);

} // namespace pulsetest
