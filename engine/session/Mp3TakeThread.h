#pragma once
// The MP3 thread of a take: runs the encoder over g_mp3Queue into the take's
// file, and at Stop waits until the encoder has taken the rest of the queue.
//
// The wait at Stop must end even when the encoder has ended its stream early
// (it returned before draining, or refused a second run): the thread sets an
// atomic flag when Encode_DataStreamEx has returned, and the wait ends when
// the queue is finished or that flag is set, whichever comes first. What an
// encoder that ended early left in the queue is discarded.

#include "components/vesplin/CAuEncode.h"
#include "engine/session/SessionPauses.h"

#include <atomic>
#include <string>
#include <thread>

namespace engine {

class Mp3TakeThread {
public:
    Mp3TakeThread(CAuEncode& encoder, const SessionPauses& pauses);
    ~Mp3TakeThread();
    Mp3TakeThread(const Mp3TakeThread&) = delete;
    Mp3TakeThread& operator=(const Mp3TakeThread&) = delete;

    // Readies the encoder and the queue and starts the thread, which pauses
    // before it encodes into `path`; the queue holds the sound meanwhile.
    void Start(const std::string& path);
    // Ends the queue and waits for the encoder to drain it, then for the
    // thread; returns at once when no thread runs.
    void Finish();

private:
    CAuEncode& m_encoder;
    SessionPauses m_pauses;
    std::thread m_thread;
    // Set by the thread (release) once the encoder has returned; read with
    // acquire by Finish.
    std::atomic<bool> m_encoderReturned{false};
};

} // namespace engine
