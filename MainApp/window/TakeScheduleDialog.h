#pragma once
// The timed-take settings, reached from the hotkey button's right-click menu:
// start at a time of day, start when the sound passes a level, stop after a
// length. Each is ticked on or off and takes the texts the command line's
// --at, --start-on-sound and --for take; OK is offered only while every
// ticked field reads. Nothing ticked cancels a timed take that waits.

#include "engine/session/TakeSchedule.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace window {

class TakeScheduleDialog : public QDialog {
    Q_OBJECT

public:
    enum Field { kStartAt, kStartOnSound, kStopAfter, kFieldCount };

    explicit TakeScheduleDialog(QWidget* parent);

    // The ticked fields as a schedule; the start time is the next time the
    // clock shows it after `now`.
    [[nodiscard]] engine::TakeSchedule Schedule(engine::WallClock::time_point now) const;

    [[nodiscard]] QCheckBox* Ticked(Field field) const { return m_ticked[field]; }
    [[nodiscard]] QLineEdit* Text(Field field) const { return m_text[field]; }
    [[nodiscard]] QPushButton* OkButton() const { return m_ok; }

private:
    void Check();

    std::array<QCheckBox*, kFieldCount> m_ticked{};
    std::array<QLineEdit*, kFieldCount> m_text{};
    QPushButton* m_ok = nullptr;
};

} // namespace window
