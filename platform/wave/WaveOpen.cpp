#include "platform/wave/WaveOpen.h"

#include "platform/wave/PcmFormat.h"

namespace platform::wave {

MMRESULT CheckWaveOpen(const void* handleOut, const WAVEFORMATEX* format, DWORD_PTR callback,
                       DWORD flags) {
    if (handleOut == nullptr || format == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    const DWORD kind = flags & CALLBACK_TYPEMASK;
    if ((flags & ~CALLBACK_TYPEMASK) != 0 || (kind != CALLBACK_NULL && kind != CALLBACK_FUNCTION)) {
        return MMSYSERR_INVALFLAG;
    }
    if (kind == CALLBACK_FUNCTION && callback == 0) {
        return MMSYSERR_INVALPARAM;
    }
    return IsUsablePcmFormat(*format) ? MMSYSERR_NOERROR : WAVERR_BADFORMAT;
}

bool IsConfiguredDeviceId(UINT_PTR deviceId) {
    return deviceId == WAVE_MAPPER || deviceId == 0;
}

} // namespace platform::wave
