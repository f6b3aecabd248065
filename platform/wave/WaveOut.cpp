#include "platform/wave/WaveOut.h"

#include "platform/wave/HandleTable.h"
#include "platform/wave/WaveBackends.h"
#include "platform/wave/WaveOpenCheck.h"
#include "platform/wave/WaveOutDevice.h"
#include "platform/wave/WaveSettings.h"

#include <cstring>

namespace {

HandleTable<WaveOutDevice, HWAVEOUT>& devices() {
    static HandleTable<WaveOutDevice, HWAVEOUT> table;
    return table;
}

template <class Call> MMRESULT onDevice(HWAVEOUT handle, Call call) {
    const auto device = devices().find(handle);
    return device ? call(*device) : MMSYSERR_INVALHANDLE;
}

} // namespace

UINT waveOutGetNumDevs() {
    const auto output = currentWaveBackends().output;
    return output && playbackDeviceAvailable(*output) ? 1 : 0;
}

MMRESULT waveOutGetDevCaps(UINT_PTR deviceId, WAVEOUTCAPS* caps, UINT capsSize) {
    if (caps == nullptr || capsSize < sizeof(WAVEOUTCAPS)) {
        return MMSYSERR_INVALPARAM;
    }
    if (!isConfiguredDeviceId(deviceId) || waveOutGetNumDevs() == 0) {
        return MMSYSERR_BADDEVICEID;
    }
    *caps = WAVEOUTCAPS{};
    const std::string name = currentWaveBackends().output->text();
    std::strncpy(caps->szPname, name.c_str(), MAXPNAMELEN - 1);
    // ALSA converts whatever PCM it is given; the virtual outputs take any.
    caps->dwFormats = kAllStandardWaveFormats;
    caps->wChannels = 2;
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutOpen(HWAVEOUT* handleOut, UINT deviceId, const WAVEFORMATEX* format,
                     DWORD_PTR callback, DWORD_PTR instance, DWORD flags) {
    if (const MMRESULT bad = checkWaveOpen(handleOut, format, callback, flags)) {
        return bad;
    }
    if (!isConfiguredDeviceId(deviceId)) {
        return MMSYSERR_BADDEVICEID;
    }
    const auto output = currentWaveBackends().output;
    if (!output) {
        return MMSYSERR_NODRIVER;
    }
    OpenedSink opened = openPlaybackSink(*output, *format);
    if (opened.result != MMSYSERR_NOERROR) {
        return opened.result;
    }
    return waveOutOpenSink(handleOut, std::move(opened.sink), format, callback, instance, flags);
}

MMRESULT waveOutOpenSink(HWAVEOUT* handleOut, std::unique_ptr<PlaybackSink> sink,
                         const WAVEFORMATEX* format, DWORD_PTR callback, DWORD_PTR instance,
                         DWORD flags) {
    if (const MMRESULT bad = checkWaveOpen(handleOut, format, callback, flags)) {
        return bad;
    }
    if (!sink) {
        return MMSYSERR_INVALPARAM;
    }
    const HWAVEOUT handle = devices().reserve();
    const auto function = (flags & CALLBACK_TYPEMASK) == CALLBACK_FUNCTION
                              ? reinterpret_cast<WaveOutProc>(callback)
                              : nullptr;
    devices().insert(handle, std::make_shared<WaveOutDevice>(handle, std::move(sink), *format,
                                                             function, instance));
    *handleOut = handle;
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutPrepareHeader(HWAVEOUT handle, WAVEHDR* header, UINT headerSize) {
    return onDevice(handle, [&](WaveOutDevice& d) { return d.prepareHeader(header, headerSize); });
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header, UINT headerSize) {
    return onDevice(handle,
                    [&](WaveOutDevice& d) { return d.unprepareHeader(header, headerSize); });
}

MMRESULT waveOutWrite(HWAVEOUT handle, WAVEHDR* header, UINT headerSize) {
    return onDevice(handle, [&](WaveOutDevice& d) { return d.write(header, headerSize); });
}

MMRESULT waveOutPause(HWAVEOUT handle) {
    return onDevice(handle, [](WaveOutDevice& d) { return d.pause(); });
}

MMRESULT waveOutRestart(HWAVEOUT handle) {
    return onDevice(handle, [](WaveOutDevice& d) { return d.restart(); });
}

MMRESULT waveOutReset(HWAVEOUT handle) {
    return onDevice(handle, [](WaveOutDevice& d) { return d.reset(); });
}

MMRESULT waveOutClose(HWAVEOUT handle) {
    const MMRESULT closed = onDevice(handle, [](WaveOutDevice& d) { return d.close(); });
    if (closed == MMSYSERR_NOERROR) {
        devices().remove(handle);
    }
    return closed;
}
