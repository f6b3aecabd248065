#include "platform/wave/WaveIn.h"

#include "platform/wave/CaptureDevices.h"
#include "platform/wave/InputOpenProblem.h"
#include "platform/wave/WaveBackends.h"
#include "platform/wave/WaveInDevice.h"
#include "platform/wave/WaveOpen.h"
#include "platform/wave/WaveSettings.h"

namespace {

HandleTable<WaveInDevice, HWAVEIN>& devices() {
    static HandleTable<WaveInDevice, HWAVEIN> table;
    return table;
}

} // namespace

UINT waveInGetNumDevs() {
    return listCaptureDevices(currentWaveBackends().input).empty() ? 0 : 1;
}

MMRESULT waveInOpen(HWAVEIN* handleOut, UINT deviceId, const WAVEFORMATEX* format,
                    DWORD_PTR callback, DWORD_PTR instance, DWORD flags) {
    setWaveInOpenProblem({});
    return openConfiguredWaveDevice<WaveInDevice, HWAVEIN, WaveInProc, CaptureSource>(
        devices(), handleOut, deviceId, format, callback, instance, flags,
        currentWaveBackends().input, &openCaptureSource);
}

MMRESULT waveInOpenSource(HWAVEIN* handleOut, std::unique_ptr<CaptureSource> source,
                          const WAVEFORMATEX* format, DWORD_PTR callback, DWORD_PTR instance,
                          DWORD flags) {
    return openWaveDevice<WaveInDevice, HWAVEIN, WaveInProc>(
        devices(), handleOut, std::move(source), format, callback, instance, flags);
}

MMRESULT waveInPrepareHeader(HWAVEIN handle, WAVEHDR* header, UINT headerSize) {
    return devices().call(handle,
                          [&](WaveInDevice& d) { return d.prepareHeader(header, headerSize); });
}

MMRESULT waveInUnprepareHeader(HWAVEIN handle, WAVEHDR* header, UINT headerSize) {
    return devices().call(handle,
                          [&](WaveInDevice& d) { return d.unprepareHeader(header, headerSize); });
}

MMRESULT waveInAddBuffer(HWAVEIN handle, WAVEHDR* header, UINT headerSize) {
    return devices().call(handle, [&](WaveInDevice& d) { return d.addBuffer(header, headerSize); });
}

MMRESULT waveInStart(HWAVEIN handle) {
    return devices().call(handle, [](WaveInDevice& d) { return d.start(); });
}

MMRESULT waveInReset(HWAVEIN handle) {
    return devices().call(handle, [](WaveInDevice& d) { return d.reset(); });
}

MMRESULT waveInClose(HWAVEIN handle) {
    return devices().close(handle);
}

MMRESULT waveInGetStats(HWAVEIN handle, WaveInStats* stats) {
    if (stats == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    return devices().call(handle, [&](WaveInDevice& d) {
        *stats = d.stats();
        return MMSYSERR_NOERROR;
    });
}
