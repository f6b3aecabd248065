#include "platform/wave/WaveBackends.h"

#include "platform/wave/AlsaCapture.h"
#include "platform/wave/AlsaPlayback.h"
#include "platform/wave/NullSink.h"
#include "platform/wave/SilenceSource.h"
#include "platform/wave/ToneSource.h"
#include "platform/wave/WavFileSink.h"
#include "platform/wave/WavFileSource.h"

OpenedSource openCaptureSource(const BackendSpec& spec, const WAVEFORMATEX& format) {
    switch (spec.kind) {
    case BackendSpec::Kind::Alsa:
        return AlsaCapture::open(spec.argument, format);
    case BackendSpec::Kind::File:
        return WavFileSource::open(spec.argument, format);
    case BackendSpec::Kind::Tone:
        return ToneSource::open(format);
    case BackendSpec::Kind::Silence:
        return SilenceSource::open(format);
    case BackendSpec::Kind::Null:
        break;
    }
    return {MMSYSERR_NODRIVER, nullptr};
}

OpenedSink openPlaybackSink(const BackendSpec& spec, const WAVEFORMATEX& format) {
    switch (spec.kind) {
    case BackendSpec::Kind::Alsa:
        return AlsaPlayback::open(spec.argument, format);
    case BackendSpec::Kind::File:
        return WavFileSink::open(spec.argument, format);
    case BackendSpec::Kind::Null:
        return {MMSYSERR_NOERROR, std::make_unique<NullSink>(format)};
    case BackendSpec::Kind::Tone:
    case BackendSpec::Kind::Silence:
        break;
    }
    return {MMSYSERR_NODRIVER, nullptr};
}

bool playbackDeviceAvailable(const BackendSpec& spec) {
    if (spec.kind == BackendSpec::Kind::Alsa) {
        return canOpenAlsaPcm(spec.argument, SND_PCM_STREAM_PLAYBACK);
    }
    return true;
}
