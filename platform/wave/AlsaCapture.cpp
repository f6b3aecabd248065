#include "platform/wave/AlsaCapture.h"

#include <cerrno>

namespace {

// Half a second of audio in ALSA's buffer covers the program's callback, which
// may take up to one capture buffer's time (0.213 s) while nothing is read.
constexpr unsigned kBufferUs = 500000;
constexpr int kWaitMs = 100;

} // namespace

OpenedSource AlsaCapture::open(const std::string& device, const WAVEFORMATEX& format) {
    auto opened = openAlsaPcm(device, SND_PCM_STREAM_CAPTURE, format, kBufferUs);
    if (opened.result != MMSYSERR_NOERROR) {
        return {opened.result, nullptr};
    }
    return {MMSYSERR_NOERROR, std::unique_ptr<CaptureSource>(new AlsaCapture(
                                  device, std::move(opened.pcm), format.nBlockAlign))};
}

AlsaCapture::AlsaCapture(std::string device, AlsaPcmPtr pcm, unsigned frameBytes)
    : m_device(std::move(device)), m_pcm(std::move(pcm)), m_frameBytes(frameBytes) {}

void AlsaCapture::start() {
    snd_pcm_prepare(m_pcm.get());
    snd_pcm_start(m_pcm.get());
}

void AlsaCapture::stop() {
    snd_pcm_drop(m_pcm.get());
}

CaptureRead AlsaCapture::read(std::span<char> out) {
    const int ready = snd_pcm_wait(m_pcm.get(), kWaitMs);
    if (ready < 0) {
        return failed(ready);
    }
    const snd_pcm_sframes_t frames =
        snd_pcm_readi(m_pcm.get(), out.data(), out.size() / m_frameBytes);
    if (frames == -EAGAIN) {
        return {CaptureStatus::Ok, 0};
    }
    if (frames < 0) {
        return failed(static_cast<int>(frames));
    }
    return {CaptureStatus::Ok, static_cast<std::size_t>(frames) * m_frameBytes};
}

CaptureRead AlsaCapture::failed(int error) {
    if (!recoverAlsaPcm(m_pcm.get(), error)) {
        return {CaptureStatus::Gone, 0};
    }
    const bool lost = error == -EPIPE || error == -ESTRPIPE;
    return {lost ? CaptureStatus::Overrun : CaptureStatus::Ok, 0};
}
