#include "platform/wave/AlsaPlayback.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

namespace platform::wave {

namespace {

constexpr unsigned kBufferUs = 250000;
constexpr int kWaitMs = 100;
constexpr auto kPlayingPoll = std::chrono::milliseconds(10);

} // namespace

OpenedSink AlsaPlayback::Open(const std::string& device, const WAVEFORMATEX& format) {
    auto opened = OpenAlsaPcm(device, SND_PCM_STREAM_PLAYBACK, format, kBufferUs);
    if (opened.result != MMSYSERR_NOERROR) {
        return {opened.result, nullptr};
    }
    return {MMSYSERR_NOERROR, std::unique_ptr<PlaybackSink>(new AlsaPlayback(
                                  device, std::move(opened.pcm), format.nBlockAlign))};
}

AlsaPlayback::AlsaPlayback(std::string device, AlsaPcmPtr pcm, unsigned frameBytes)
    : m_device(std::move(device)), m_pcm(std::move(pcm)), m_frameBytes(frameBytes) {}

PlaybackWrite AlsaPlayback::Write(std::span<const char> bytes) {
    snd_pcm_t* pcm = m_pcm.get();
    const snd_pcm_state_t state = snd_pcm_state(pcm);
    if (state == SND_PCM_STATE_DRAINING) {
        // A buffer written while the tail drains waits until it has played out.
        std::this_thread::sleep_for(kPlayingPoll);
        return {false, 0};
    }
    if (state == SND_PCM_STATE_SETUP) {
        snd_pcm_prepare(pcm); // drained by WaitWhilePlaying
    }
    int error = snd_pcm_wait(pcm, kWaitMs);
    if (error >= 0) {
        const snd_pcm_sframes_t room = snd_pcm_avail_update(pcm);
        if (room < 0) {
            error = static_cast<int>(room);
        } else {
            const auto frames = std::min<snd_pcm_uframes_t>(bytes.size() / m_frameBytes,
                                                            static_cast<snd_pcm_uframes_t>(room));
            const snd_pcm_sframes_t written =
                frames == 0 ? 0 : snd_pcm_writei(pcm, bytes.data(), frames);
            if (written >= 0) {
                m_framesWritten += static_cast<std::uint64_t>(written);
                return {false, static_cast<std::size_t>(written) * m_frameBytes};
            }
            error = static_cast<int>(written);
        }
    }
    if (error == -EAGAIN || RecoverAlsaPcm(pcm, error)) {
        return {false, 0};
    }
    return {true, 0};
}

std::uint64_t AlsaPlayback::FramesPlayed() {
    snd_pcm_sframes_t delay = 0;
    if (snd_pcm_state(m_pcm.get()) == SND_PCM_STATE_SETUP ||
        snd_pcm_delay(m_pcm.get(), &delay) < 0 || delay < 0) {
        return m_framesWritten; // drained, or stopped by an under-run: all of it has played
    }
    return m_framesWritten - std::min(m_framesWritten, static_cast<std::uint64_t>(delay));
}

void AlsaPlayback::WaitWhilePlaying() {
    // Nothing more to write for now: drain, so that the tail plays out (less
    // than a buffer never reaches the start threshold, and a sound server may
    // hold back a last partial period). Without blocking, the drain only
    // starts here; the state becomes SETUP once all has played.
    const snd_pcm_state_t state = snd_pcm_state(m_pcm.get());
    if (state == SND_PCM_STATE_PREPARED || state == SND_PCM_STATE_RUNNING) {
        snd_pcm_drain(m_pcm.get());
    }
    std::this_thread::sleep_for(kPlayingPoll);
}

void AlsaPlayback::Pause() {
    const snd_pcm_state_t state = snd_pcm_state(m_pcm.get());
    if (state != SND_PCM_STATE_RUNNING && state != SND_PCM_STATE_DRAINING) {
        return; // nothing is sounding; the service thread simply stops writing
    }
    if (snd_pcm_pause(m_pcm.get(), 1) < 0) {
        snd_pcm_drop(m_pcm.get());
        m_dropped = true;
    }
}

void AlsaPlayback::Resume() {
    if (m_dropped) {
        snd_pcm_prepare(m_pcm.get());
        m_dropped = false;
    } else if (snd_pcm_state(m_pcm.get()) == SND_PCM_STATE_PAUSED) {
        snd_pcm_pause(m_pcm.get(), 0);
    }
}

void AlsaPlayback::Discard() {
    snd_pcm_drop(m_pcm.get());
    snd_pcm_prepare(m_pcm.get());
}

} // namespace platform::wave
