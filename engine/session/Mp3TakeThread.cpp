#include "engine/session/Mp3TakeThread.h"

#include "engine/RecordingState.h"
#include "util/ThreadName.h"

namespace engine {

Mp3TakeThread::Mp3TakeThread(CAuEncode& encoder, const SessionPauses& pauses)
    : m_encoder(encoder), m_pauses(pauses) {}

Mp3TakeThread::~Mp3TakeThread() {
    Finish();
}

void Mp3TakeThread::Start(const std::string& path) {
    Finish(); // a thread of an earlier take that was never finished
    m_encoder.EncodeStop();
    g_mp3Queue.SetStop(false);
    m_encoderReturned.store(false, std::memory_order_relaxed);
    // The queue is open before the take starts, so the pause inside the
    // thread delays the encoding, never the sound the take begins with.
    m_thread = std::thread([this, path] {
        util::NameThisThread("encoder");
        PauseMs(m_pauses.mp3ThreadStartMs);
        m_encoder.Encode_DataStreamEx(&g_mp3Queue, static_cast<int>(kCaptureBufferBytes), path);
        m_encoderReturned.store(true, std::memory_order_release);
    });
}

void Mp3TakeThread::Finish() {
    if (!m_thread.joinable()) {
        return;
    }
    // A stream run ignores the stop request and takes everything queued up
    // to Stop: ending the stream is what ends it.
    m_encoder.EncodeStop();
    g_mp3Queue.SetStop(true);
    while (!g_mp3Queue.IsFinished() && !m_encoderReturned.load(std::memory_order_acquire)) {
        PauseMs(m_pauses.mp3DrainPollMs);
    }
    m_thread.join();
    if (!g_mp3Queue.IsFinished()) {
        g_mp3Queue.Reset(); // the encoder ended early: its rest goes
    }
}

} // namespace engine
