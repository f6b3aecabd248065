#pragma once
// A timed take of the window: waits, on the GUI thread, for the schedule the
// settings dialog gave (a time of day, a sound), starts the take from the
// capture position it became due at, and stops it once it holds the length
// of sound asked for. A schedule without a start condition starts at once.
// The take's sound limit is the schedule's length while the timed take runs
// and none afterwards.

#include "engine/LevelMeter.h"
#include "engine/session/RecordSession.h"
#include "engine/session/TakeSchedule.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace window {

class TimedTake : public QObject {
    Q_OBJECT

public:
    // `start` begins a take (from a capture byte, or now), `stop` ends it;
    // `waiting` tells the user the take waits (true) or no longer does.
    struct Hooks {
        std::function<void(std::optional<std::uint64_t>)> start;
        std::function<void()> stop;
        std::function<void(bool)> waiting;
    };

    TimedTake(engine::RecordSession& session, LevelMeter& meter, Hooks hooks);

    // Replaces what waited; a schedule with nothing set only cancels.
    void Arm(const engine::TakeSchedule& schedule);
    // Stops waiting (a take started by hand); a timed take that runs goes on.
    void Cancel();
    [[nodiscard]] bool IsWaiting() const { return m_starter != nullptr; }

private:
    void Begin(std::optional<std::uint64_t> from);
    void Tick();

    engine::RecordSession& m_session;
    LevelMeter& m_meter;
    Hooks m_hooks;
    std::unique_ptr<engine::TakeStarter> m_starter;
    std::uint32_t m_forSeconds = 0;
    bool m_running = false;
    QTimer m_look;
};

} // namespace window
