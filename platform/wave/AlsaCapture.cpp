#include "platform/wave/AlsaCapture.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <poll.h>
#include <thread>

namespace platform::wave {

namespace {

// Half a second of audio in ALSA's buffer covers the program's callback, which
// may take up to one capture buffer's time (0.213 s) while nothing is read.
constexpr unsigned kBufferUs = 500000;
// The thread polls ALSA's fill level instead of waiting in snd_pcm_wait: some
// plugins (the sound server's among them) keep their poll descriptor readable
// while too few frames are there, which made snd_pcm_wait spin thousands of
// times a second. Below this many frames the thread sleeps for a short while:
// 1,024 frames are 23 ms, far less than ALSA's half-second buffer.
constexpr snd_pcm_sframes_t kMinReadFrames = 1024;
constexpr auto kShortReadPause = std::chrono::milliseconds(10);

} // namespace

OpenedSource AlsaCapture::Open(const std::string& device, const WAVEFORMATEX& format) {
    auto opened = OpenAlsaPcm(device, SND_PCM_STREAM_CAPTURE, format, kBufferUs);
    if (opened.result != MMSYSERR_NOERROR) {
        return {opened.result, nullptr};
    }
    return {MMSYSERR_NOERROR, std::unique_ptr<CaptureSource>(new AlsaCapture(
                                  device, std::move(opened.pcm), format.nBlockAlign))};
}

AlsaCapture::AlsaCapture(std::string device, AlsaPcmPtr pcm, unsigned frameBytes)
    : m_device(std::move(device)), m_pcm(std::move(pcm)), m_frameBytes(frameBytes) {}

void AlsaCapture::Start() {
    snd_pcm_prepare(m_pcm.get());
    snd_pcm_start(m_pcm.get());
}

void AlsaCapture::Stop() {
    snd_pcm_drop(m_pcm.get());
}

CaptureRead AlsaCapture::Read(std::span<char> out) {
    const snd_pcm_sframes_t available = snd_pcm_avail_update(m_pcm.get());
    if (available < 0) {
        return Failed(static_cast<int>(available));
    }
    if (available < kMinReadFrames) {
        // One look at the poll descriptors without waiting: a plugin whose
        // server went away reports that there, not in its fill level.
        if (const int state = PollOnce(); state < 0) {
            return Failed(state);
        }
        std::this_thread::sleep_for(kShortReadPause);
        return {CaptureStatus::Ok, 0};
    }
    const snd_pcm_sframes_t frames =
        snd_pcm_readi(m_pcm.get(), out.data(), out.size() / m_frameBytes);
    if (frames == -EAGAIN) {
        return {CaptureStatus::Ok, 0};
    }
    if (frames < 0) {
        return Failed(static_cast<int>(frames));
    }
    return {CaptureStatus::Ok, static_cast<std::size_t>(frames) * m_frameBytes};
}

int AlsaCapture::PollOnce() {
    std::array<pollfd, 4> descriptors{};
    const int count = snd_pcm_poll_descriptors(m_pcm.get(), descriptors.data(),
                                               static_cast<unsigned>(descriptors.size()));
    if (count <= 0) {
        return count;
    }
    if (poll(descriptors.data(), static_cast<nfds_t>(count), 0) < 0) {
        return -errno;
    }
    unsigned short events = 0;
    return snd_pcm_poll_descriptors_revents(m_pcm.get(), descriptors.data(),
                                            static_cast<unsigned>(count), &events);
}

CaptureRead AlsaCapture::Failed(int error) {
    if (!RecoverAlsaPcm(m_pcm.get(), error)) {
        return {CaptureStatus::Gone, 0};
    }
    const bool lost = error == -EPIPE || error == -ESTRPIPE;
    return {lost ? CaptureStatus::Overrun : CaptureStatus::Ok, 0};
}

} // namespace platform::wave
