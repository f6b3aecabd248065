#include "platform/wave/WaveIn.h"

#include "platform/wave/CaptureDevices.h"
#include "platform/wave/InputOpenProblem.h"
#include "platform/wave/WaveBackends.h"
#include "platform/wave/WaveInDevice.h"
#include "platform/wave/WaveOpen.h"
#include "platform/wave/WaveSettings.h"

using platform::wave::CaptureSource;
using platform::wave::CurrentWaveBackends;
using platform::wave::HandleTable;
using platform::wave::ListCaptureDevices;
using platform::wave::OpenCaptureSource;
using platform::wave::OpenConfiguredWaveDevice;
using platform::wave::OpenWaveDevice;
using platform::wave::WaveInDevice;

namespace {

HandleTable<WaveInDevice, HWAVEIN>& devices() {
    static HandleTable<WaveInDevice, HWAVEIN> table;
    return table;
}

} // namespace

UINT waveInGetNumDevs() {
    return ListCaptureDevices(CurrentWaveBackends().input).empty() ? 0 : 1;
}

MMRESULT waveInOpen(HWAVEIN* handleOut, UINT deviceId, const WAVEFORMATEX* format,
                    DWORD_PTR callback, DWORD_PTR instance, DWORD flags) {
    platform::wave::SetWaveInOpenProblem({});
    return OpenConfiguredWaveDevice<WaveInDevice, HWAVEIN, WaveInProc, CaptureSource>(
        devices(), handleOut, deviceId, format, callback, instance, flags,
        CurrentWaveBackends().input, &OpenCaptureSource);
}

MMRESULT waveInOpenSource(HWAVEIN* handleOut, std::unique_ptr<CaptureSource> source,
                          const WAVEFORMATEX* format, DWORD_PTR callback, DWORD_PTR instance,
                          DWORD flags) {
    return OpenWaveDevice<WaveInDevice, HWAVEIN, WaveInProc>(
        devices(), handleOut, std::move(source), format, callback, instance, flags);
}

MMRESULT waveInPrepareHeader(HWAVEIN handle, WAVEHDR* header, UINT headerSize) {
    return devices().Call(handle,
                          [&](WaveInDevice& d) { return d.PrepareHeader(header, headerSize); });
}

MMRESULT waveInUnprepareHeader(HWAVEIN handle, WAVEHDR* header, UINT headerSize) {
    return devices().Call(handle,
                          [&](WaveInDevice& d) { return d.UnprepareHeader(header, headerSize); });
}

MMRESULT waveInAddBuffer(HWAVEIN handle, WAVEHDR* header, UINT headerSize) {
    return devices().Call(handle, [&](WaveInDevice& d) { return d.AddBuffer(header, headerSize); });
}

MMRESULT waveInStart(HWAVEIN handle) {
    return devices().Call(handle, [](WaveInDevice& d) { return d.Start(); });
}

MMRESULT waveInReset(HWAVEIN handle) {
    return devices().Call(handle, [](WaveInDevice& d) { return d.Reset(); });
}

MMRESULT waveInClose(HWAVEIN handle) {
    return devices().Close(handle);
}

MMRESULT waveInGetStats(HWAVEIN handle, WaveInStats* stats) {
    if (stats == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    return devices().Call(handle, [&](WaveInDevice& d) {
        *stats = d.Stats();
        return MMSYSERR_NOERROR;
    });
}
