#include "platform/wave/WaveBackends.h"

#include "platform/wave/AlsaCapture.h"
#include "platform/wave/AlsaPlayback.h"
#include "platform/wave/MarkedSource.h"
#include "platform/wave/NullSink.h"
#include "platform/wave/SilenceSource.h"
#include "platform/wave/ToneSource.h"
#include "platform/wave/WavFileSink.h"
#include "platform/wave/WavFileSource.h"

namespace platform::wave {

OpenedSource OpenCaptureSource(const BackendChoice& choice, const WAVEFORMATEX& format) {
    switch (choice.kind) {
    case BackendChoice::Kind::Alsa:
        return AlsaCapture::Open(choice.argument, format);
    case BackendChoice::Kind::File:
        return WavFileSource::Open(choice.argument, format);
    case BackendChoice::Kind::Tone:
        return ToneSource::Open(format);
    case BackendChoice::Kind::Silence:
        return SilenceSource::Open(format);
    case BackendChoice::Kind::Marked:
        return MarkedSource::Open(format, choice.argument);
    case BackendChoice::Kind::Null:
        break;
    }
    return {MMSYSERR_NODRIVER, nullptr};
}

OpenedSink OpenPlaybackSink(const BackendChoice& choice, const WAVEFORMATEX& format) {
    switch (choice.kind) {
    case BackendChoice::Kind::Alsa:
        return AlsaPlayback::Open(choice.argument, format);
    case BackendChoice::Kind::File:
        return WavFileSink::Open(choice.argument, format);
    case BackendChoice::Kind::Null:
        return {MMSYSERR_NOERROR, std::make_unique<NullSink>(format)};
    case BackendChoice::Kind::Tone:
    case BackendChoice::Kind::Silence:
    case BackendChoice::Kind::Marked:
        break;
    }
    return {MMSYSERR_NODRIVER, nullptr};
}

bool PlaybackDeviceAvailable(const BackendChoice& choice) {
    if (choice.kind == BackendChoice::Kind::Alsa) {
        return CanOpenAlsaPcm(choice.argument, SND_PCM_STREAM_PLAYBACK);
    }
    return true;
}

} // namespace platform::wave
