#pragma once
// The result of opening a backend: a result code and, on success, the backend.

#include "platform/wave/WaveTypes.h"

#include <memory>

namespace platform::wave {

template <class Backend> struct Opened {
    MMRESULT result = MMSYSERR_ERROR;
    std::unique_ptr<Backend> backend;
};

} // namespace platform::wave
