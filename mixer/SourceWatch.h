#pragma once
// Hears of the recording mixer's source lines coming and going (an input
// plugged in or out, the sound server going away) for as long as it is open.

#include "platform/mixer/MixerTypes.h"

#include <cstdint>
#include <functional>

class SourceWatch {
public:
    // `linesChanged` runs on the mixer's notification thread; it must not
    // block and must not close the watch.
    explicit SourceWatch(std::function<void()> linesChanged);
    ~SourceWatch();
    SourceWatch(const SourceWatch&) = delete;
    SourceWatch& operator=(const SourceWatch&) = delete;

    // Opens (again) the mixer of the default wave input with notifications;
    // false when there is none to open now.
    bool Open();
    void Close();
    [[nodiscard]] bool IsOpen() const { return m_mixer != nullptr; }

private:
    static void OnMixerChange(HMIXER mixer, std::uint32_t message, std::uintptr_t instance,
                              std::uint32_t parameter);

    std::function<void()> m_linesChanged;
    HMIXER m_mixer = nullptr;
};
