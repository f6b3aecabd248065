#include "platform/wave/WaveOut.h"

#include "platform/wave/WaveBackends.h"
#include "platform/wave/WaveOpen.h"
#include "platform/wave/WaveOutDevice.h"
#include "platform/wave/WaveSettings.h"

#include <cstring>

namespace {

HandleTable<WaveOutDevice, HWAVEOUT>& devices() {
    static HandleTable<WaveOutDevice, HWAVEOUT> table;
    return table;
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
    return openConfiguredWaveDevice<WaveOutDevice, HWAVEOUT, WaveOutProc, PlaybackSink>(
        devices(), handleOut, deviceId, format, callback, instance, flags,
        currentWaveBackends().output, &openPlaybackSink);
}

MMRESULT waveOutOpenSink(HWAVEOUT* handleOut, std::unique_ptr<PlaybackSink> sink,
                         const WAVEFORMATEX* format, DWORD_PTR callback, DWORD_PTR instance,
                         DWORD flags) {
    return openWaveDevice<WaveOutDevice, HWAVEOUT, WaveOutProc>(
        devices(), handleOut, std::move(sink), format, callback, instance, flags);
}

MMRESULT waveOutPrepareHeader(HWAVEOUT handle, WAVEHDR* header, UINT headerSize) {
    return devices().call(handle,
                          [&](WaveOutDevice& d) { return d.prepareHeader(header, headerSize); });
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header, UINT headerSize) {
    return devices().call(handle,
                          [&](WaveOutDevice& d) { return d.unprepareHeader(header, headerSize); });
}

MMRESULT waveOutWrite(HWAVEOUT handle, WAVEHDR* header, UINT headerSize) {
    return devices().call(handle, [&](WaveOutDevice& d) { return d.write(header, headerSize); });
}

MMRESULT waveOutPause(HWAVEOUT handle) {
    return devices().call(handle, [](WaveOutDevice& d) { return d.pause(); });
}

MMRESULT waveOutRestart(HWAVEOUT handle) {
    return devices().call(handle, [](WaveOutDevice& d) { return d.restart(); });
}

MMRESULT waveOutReset(HWAVEOUT handle) {
    return devices().call(handle, [](WaveOutDevice& d) { return d.reset(); });
}

MMRESULT waveOutClose(HWAVEOUT handle) {
    return devices().close(handle);
}
