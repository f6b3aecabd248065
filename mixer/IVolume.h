#pragma once

#include <cstdint>

// Told the new value of the first channel after the volume changed from outside. Runs on a
// notification thread of the mixer service. user is handed back as it was registered.
using VolumeChangeCallback = void (*)(std::int32_t value, std::uintptr_t user);

// Access to the volume of one recording source. Objects are destroyed through their own
// class, never through this interface.
class IVolume {
public:
    virtual bool IsVolumeAvailable() = 0;
    virtual void SelectAsRecordingSource() = 0;
    virtual void Reserved() = 0;
    virtual std::int32_t GetVolumeStepCount() = 0;
    virtual std::int32_t GetMinVolume() = 0;
    virtual std::int32_t GetMaxVolume() = 0;
    virtual std::int32_t GetVolume() = 0;
    virtual void SetVolume(std::uint32_t value) = 0;
    // Returns the callback it was given.
    virtual VolumeChangeCallback SetChangeCallback(VolumeChangeCallback callback,
                                                   std::uintptr_t user) = 0;

protected:
    IVolume() = default;
    ~IVolume() = default;
};
