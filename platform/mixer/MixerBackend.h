#pragma once

// What a mixer backend offers: a list of recordable source lines, which of them are
// selected for recording (one of them for a MUX, any of them for a MIXER) and a volume per
// line. Lines are addressed by their position in the layout the backend last read.

#include "platform/mixer/MixerLayout.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace platform::mixer {

enum class MixerChange {
    Selection, // which line is recorded
    Volume,    // the volume of one line (or of every line when the line is unknown)
    Lines,     // lines came or went
};

class MixerBackend {
public:
    // line is the position in the layout, or -1 when the change concerns every line.
    using ChangeListener = std::function<void(MixerChange change, int line)>;

    virtual ~MixerBackend() = default;

    virtual bool ReadLayout(MixerLayout& layout) = 0;
    virtual bool ReadSelection(std::vector<bool>& selected) = 0;
    // For a MUX exactly one entry is true.
    virtual bool WriteSelection(const std::vector<bool>& selected) = 0;
    virtual bool ReadVolume(std::size_t line, std::vector<std::uint32_t>& channelValues) = 0;
    virtual bool WriteVolume(std::size_t line, const std::vector<std::uint32_t>& channelValues) = 0;
    // Called once after a successful ReadLayout; the listener may run on any thread and
    // must not block. It is never called after the backend is destroyed.
    virtual void WatchChanges(ChangeListener listener) = 0;
};

} // namespace platform::mixer
