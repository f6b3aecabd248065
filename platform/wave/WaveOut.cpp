#include "platform/wave/WaveOut.h"

#include "platform/wave/WaveBackends.h"
#include "platform/wave/WaveOpen.h"
#include "platform/wave/WaveOutDevice.h"
#include "platform/wave/WaveSettings.h"

#include <cstring>

using platform::wave::CurrentWaveBackends;
using platform::wave::HandleTable;
using platform::wave::IsConfiguredDeviceId;
using platform::wave::OpenConfiguredWaveDevice;
using platform::wave::OpenPlaybackSink;
using platform::wave::OpenWaveDevice;
using platform::wave::PlaybackDeviceAvailable;
using platform::wave::PlaybackSink;
using platform::wave::WaveOutDevice;

namespace {

HandleTable<WaveOutDevice, HWAVEOUT>& devices() {
    static HandleTable<WaveOutDevice, HWAVEOUT> table;
    return table;
}

} // namespace

UINT waveOutGetNumDevs() {
    const auto output = CurrentWaveBackends().output;
    return output && PlaybackDeviceAvailable(*output) ? 1 : 0;
}

MMRESULT waveOutGetDevCaps(UINT_PTR deviceId, WAVEOUTCAPS* caps, UINT capsSize) {
    if (caps == nullptr || capsSize < sizeof(WAVEOUTCAPS)) {
        return MMSYSERR_INVALPARAM;
    }
    if (!IsConfiguredDeviceId(deviceId) || waveOutGetNumDevs() == 0) {
        return MMSYSERR_BADDEVICEID;
    }
    *caps = WAVEOUTCAPS{};
    const std::string name = CurrentWaveBackends().output->Text();
    std::strncpy(caps->szPname, name.c_str(), MAXPNAMELEN - 1);
    // ALSA converts whatever PCM it is given; the virtual outputs take any.
    caps->dwFormats = kAllStandardWaveFormats;
    caps->wChannels = 2;
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutOpen(HWAVEOUT* handleOut, UINT deviceId, const WAVEFORMATEX* format,
                     DWORD_PTR callback, DWORD_PTR instance, DWORD flags) {
    return OpenConfiguredWaveDevice<WaveOutDevice, HWAVEOUT, WaveOutProc, PlaybackSink>(
        devices(), handleOut, deviceId, format, callback, instance, flags,
        CurrentWaveBackends().output, &OpenPlaybackSink);
}

MMRESULT waveOutOpenSink(HWAVEOUT* handleOut, std::unique_ptr<PlaybackSink> sink,
                         const WAVEFORMATEX* format, DWORD_PTR callback, DWORD_PTR instance,
                         DWORD flags) {
    return OpenWaveDevice<WaveOutDevice, HWAVEOUT, WaveOutProc>(
        devices(), handleOut, std::move(sink), format, callback, instance, flags);
}

MMRESULT waveOutPrepareHeader(HWAVEOUT handle, WAVEHDR* header, UINT headerSize) {
    return devices().Call(handle,
                          [&](WaveOutDevice& d) { return d.PrepareHeader(header, headerSize); });
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header, UINT headerSize) {
    return devices().Call(handle,
                          [&](WaveOutDevice& d) { return d.UnprepareHeader(header, headerSize); });
}

MMRESULT waveOutWrite(HWAVEOUT handle, WAVEHDR* header, UINT headerSize) {
    return devices().Call(handle, [&](WaveOutDevice& d) { return d.Write(header, headerSize); });
}

MMRESULT waveOutPause(HWAVEOUT handle) {
    return devices().Call(handle, [](WaveOutDevice& d) { return d.Pause(); });
}

MMRESULT waveOutRestart(HWAVEOUT handle) {
    return devices().Call(handle, [](WaveOutDevice& d) { return d.Restart(); });
}

MMRESULT waveOutReset(HWAVEOUT handle) {
    return devices().Call(handle, [](WaveOutDevice& d) { return d.Reset(); });
}

MMRESULT waveOutClose(HWAVEOUT handle) {
    return devices().Close(handle);
}
