#pragma once

// How the sound server's capture sources appear as mixer source lines. Pure functions over
// plain data, so the rules can be checked without a server.

#include "platform/mixer/MixerLayout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform::mixer {

struct PulsePortInfo {
    std::string name;
    std::string description;
    int type = 0; // pa_device_port_type_t
};

struct PulseSourceInfo {
    std::uint32_t index = 0;
    std::string name;
    std::string description;
    bool isMonitor = false;
    std::string formFactor; // the "device.form_factor" property, often empty
    std::uint32_t channels = 0;
    std::vector<std::uint32_t> volume; // pa_volume_t per channel
    std::vector<PulsePortInfo> ports;
    std::string activePort;
};

// Which server object a source line stands for: a source, or one port of it.
struct PulseLineTarget {
    std::string sourceName;
    std::uint32_t sourceIndex = 0;
    std::string port; // empty: the source as a whole
};

// One line per source, or one line per port for a source with two ports or more, in the
// order of the sources' indices (the order the server gives them in).
void BuildPulseLayout(const std::vector<PulseSourceInfo>& sources, MixerLayout& layout,
                      std::vector<PulseLineTarget>& targets);

// The line recorded now: the default source, and of its ports the active one.
std::vector<bool> PulseSelection(const std::vector<PulseLineTarget>& targets,
                                 const std::vector<PulseSourceInfo>& sources,
                                 const std::string& defaultSource);

std::uint32_t PulseComponentType(const PulseSourceInfo& source, const PulsePortInfo* port);

// The server's volume scale (0 = silent, 65536 = 100 %) laid linearly onto 0..65535;
// values above 100 % read as 65535.
std::uint32_t MixerVolumeFromPulse(std::uint32_t pulseVolume);
std::uint32_t PulseVolumeFromMixer(std::uint32_t mixerVolume);

} // namespace platform::mixer
