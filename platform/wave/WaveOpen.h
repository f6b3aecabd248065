#pragma once
// Opening a wave device, the same for input and output: the argument checks,
// the backend the settings name, and the device entered under a new handle.

#include "platform/wave/BackendChoice.h"
#include "platform/wave/HandleTable.h"
#include "platform/wave/OpenedBackend.h"
#include "platform/wave/WaveService.h"
#include "platform/wave/WaveTypes.h"

#include <memory>
#include <optional>

namespace platform::wave {

// Handle pointer and format present, callback kind CALLBACK_NULL or
// CALLBACK_FUNCTION (with a function), and a usable PCM format.
[[nodiscard]] MMRESULT CheckWaveOpen(const void* handleOut, const WAVEFORMATEX* format,
                                     DWORD_PTR callback, DWORD flags);

// The device numbers that name the configured device: WAVE_MAPPER and 0.
[[nodiscard]] bool IsConfiguredDeviceId(UINT_PTR deviceId);

// Opens a device over a backend the caller made.
template <class Device, class Handle, class Proc, class Backend>
MMRESULT OpenWaveDevice(HandleTable<Device, Handle>& table, Handle* handleOut,
                        std::unique_ptr<Backend> backend, const WAVEFORMATEX* format,
                        DWORD_PTR callback, DWORD_PTR instance, DWORD flags) {
    if (const MMRESULT bad = CheckWaveOpen(handleOut, format, callback, flags)) {
        return bad;
    }
    if (!backend) {
        return MMSYSERR_INVALPARAM;
    }
    const Handle handle = table.Reserve();
    const Proc function = (flags & CALLBACK_TYPEMASK) == CALLBACK_FUNCTION
                              ? reinterpret_cast<Proc>(callback)
                              : nullptr;
    table.Insert(handle, std::make_shared<Device>(std::move(backend), *format,
                                                  CallbackNotify(handle, function, instance)));
    *handleOut = handle;
    return MMSYSERR_NOERROR;
}

// Opens the configured device (device number WAVE_MAPPER or 0) over the
// backend that choice names; an empty choice is an unusable setting.
template <class Device, class Handle, class Proc, class Backend>
MMRESULT OpenConfiguredWaveDevice(HandleTable<Device, Handle>& table, Handle* handleOut,
                                  UINT deviceId, const WAVEFORMATEX* format, DWORD_PTR callback,
                                  DWORD_PTR instance, DWORD flags,
                                  const std::optional<BackendChoice>& choice,
                                  Opened<Backend> (*openBackend)(const BackendChoice&,
                                                                 const WAVEFORMATEX&)) {
    if (const MMRESULT bad = CheckWaveOpen(handleOut, format, callback, flags)) {
        return bad;
    }
    if (!IsConfiguredDeviceId(deviceId)) {
        return MMSYSERR_BADDEVICEID;
    }
    if (!choice) {
        return MMSYSERR_NODRIVER;
    }
    Opened<Backend> opened = openBackend(*choice, *format);
    if (opened.result != MMSYSERR_NOERROR) {
        return opened.result;
    }
    return OpenWaveDevice<Device, Handle, Proc>(table, handleOut, std::move(opened.backend), format,
                                                callback, instance, flags);
}

} // namespace platform::wave
