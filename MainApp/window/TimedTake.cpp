#include "MainApp/window/TimedTake.h"

#include "engine/RecordingState.h"

#include <utility>

namespace window {

namespace {

// Looks at the clock, the meter and the take's length.
constexpr int kLookMs = 20;

} // namespace

TimedTake::TimedTake(engine::RecordSession& session, LevelMeter& meter, Hooks hooks)
    : m_session(session), m_meter(meter), m_hooks(std::move(hooks)) {
    m_look.setInterval(kLookMs);
    connect(&m_look, &QTimer::timeout, this, &TimedTake::Tick);
}

void TimedTake::Arm(const engine::TakeSchedule& schedule) {
    Cancel();
    if (m_session.IsRecording()) {
        return; // a take runs: the schedule would have nothing to start
    }
    m_forSeconds = schedule.forSeconds;
    if (!schedule.Waits()) {
        if (m_forSeconds > 0) {
            Begin(std::nullopt);
        }
        return;
    }
    m_starter = std::make_unique<engine::TakeStarter>(schedule, m_meter);
    m_hooks.waiting(true);
    m_look.start();
}

void TimedTake::Cancel() {
    if (m_starter) {
        m_starter.reset();
        m_hooks.waiting(false);
    }
    if (!m_running) {
        m_look.stop();
    }
}

void TimedTake::Begin(std::optional<std::uint64_t> from) {
    m_session.SetSoundLimitSeconds(m_forSeconds);
    m_hooks.start(from);
    m_running = m_session.IsRecording();
    if (m_running) {
        m_look.start();
    } else {
        m_session.SetSoundLimitSeconds(0);
    }
}

void TimedTake::Tick() {
    if (m_starter) {
        if (const std::optional<std::uint64_t> from = m_starter->Poll(engine::WallClock::now())) {
            m_starter.reset();
            m_look.stop();
            Begin(from);
        }
        return;
    }
    if (!m_session.IsRecording()) {
        m_running = false;
        m_session.SetSoundLimitSeconds(0);
        m_look.stop();
    } else if (m_forSeconds > 0 &&
               m_session.CapturedBytes() >= std::uint64_t{m_forSeconds} * kPcmBytesPerSecond) {
        m_hooks.stop();
    }
}

} // namespace window
