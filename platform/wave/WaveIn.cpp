#include "platform/wave/WaveIn.h"

#include "platform/wave/HandleTable.h"
#include "platform/wave/WaveBackends.h"
#include "platform/wave/WaveInDevice.h"
#include "platform/wave/WaveOpenCheck.h"
#include "platform/wave/WaveSettings.h"

namespace {

HandleTable<WaveInDevice, HWAVEIN>& devices() {
    static HandleTable<WaveInDevice, HWAVEIN> table;
    return table;
}

template <class Call> MMRESULT onDevice(HWAVEIN handle, Call call) {
    const auto device = devices().find(handle);
    return device ? call(*device) : MMSYSERR_INVALHANDLE;
}

} // namespace

MMRESULT waveInOpen(HWAVEIN* handleOut, UINT deviceId, const WAVEFORMATEX* format,
                    DWORD_PTR callback, DWORD_PTR instance, DWORD flags) {
    if (const MMRESULT bad = checkWaveOpen(handleOut, format, callback, flags)) {
        return bad;
    }
    if (!isConfiguredDeviceId(deviceId)) {
        return MMSYSERR_BADDEVICEID;
    }
    const auto input = currentWaveBackends().input;
    if (!input) {
        return MMSYSERR_NODRIVER;
    }
    OpenedSource opened = openCaptureSource(*input, *format);
    if (opened.result != MMSYSERR_NOERROR) {
        return opened.result;
    }
    return waveInOpenSource(handleOut, std::move(opened.source), format, callback, instance, flags);
}

MMRESULT waveInOpenSource(HWAVEIN* handleOut, std::unique_ptr<CaptureSource> source,
                          const WAVEFORMATEX* format, DWORD_PTR callback, DWORD_PTR instance,
                          DWORD flags) {
    if (const MMRESULT bad = checkWaveOpen(handleOut, format, callback, flags)) {
        return bad;
    }
    if (!source) {
        return MMSYSERR_INVALPARAM;
    }
    const HWAVEIN handle = devices().reserve();
    const auto function = (flags & CALLBACK_TYPEMASK) == CALLBACK_FUNCTION
                              ? reinterpret_cast<WaveInProc>(callback)
                              : nullptr;
    devices().insert(handle, std::make_shared<WaveInDevice>(handle, std::move(source), *format,
                                                            function, instance));
    *handleOut = handle;
    return MMSYSERR_NOERROR;
}

MMRESULT waveInPrepareHeader(HWAVEIN handle, WAVEHDR* header, UINT headerSize) {
    return onDevice(handle, [&](WaveInDevice& d) { return d.prepareHeader(header, headerSize); });
}

MMRESULT waveInUnprepareHeader(HWAVEIN handle, WAVEHDR* header, UINT headerSize) {
    return onDevice(handle, [&](WaveInDevice& d) { return d.unprepareHeader(header, headerSize); });
}

MMRESULT waveInAddBuffer(HWAVEIN handle, WAVEHDR* header, UINT headerSize) {
    return onDevice(handle, [&](WaveInDevice& d) { return d.addBuffer(header, headerSize); });
}

MMRESULT waveInStart(HWAVEIN handle) {
    return onDevice(handle, [](WaveInDevice& d) { return d.start(); });
}

MMRESULT waveInReset(HWAVEIN handle) {
    return onDevice(handle, [](WaveInDevice& d) { return d.reset(); });
}

MMRESULT waveInClose(HWAVEIN handle) {
    const MMRESULT closed = onDevice(handle, [](WaveInDevice& d) { return d.close(); });
    if (closed == MMSYSERR_NOERROR) {
        devices().remove(handle);
    }
    return closed;
}

MMRESULT waveInGetStats(HWAVEIN handle, WaveInStats* stats) {
    if (stats == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    return onDevice(handle, [&](WaveInDevice& d) {
        *stats = d.stats();
        return MMSYSERR_NOERROR;
    });
}
