#include "MainApp/window/TakeScheduleDialog.h"

#include "lang/LangText.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QTime>

namespace window {

namespace {

QString UiText(int number) {
    return QString::fromStdString(lang::GetLangString("UIText", number));
}

std::string Utf8(const QLineEdit* edit) {
    return edit->text().trimmed().toStdString();
}

} // namespace

TakeScheduleDialog::TakeScheduleDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(UiText(31));
    auto* grid = new QGridLayout(this);
    const QString starts[kFieldCount] = {QTime::currentTime().addSecs(60).toString("HH:mm"),
                                         QStringLiteral("-40"), QStringLiteral("45m")};
    for (int field = 0; field < kFieldCount; ++field) {
        m_ticked[field] = new QCheckBox(UiText(32 + field), this);
        m_text[field] = new QLineEdit(starts[field], this);
        m_text[field]->setEnabled(false);
        grid->addWidget(m_ticked[field], field, 0);
        grid->addWidget(m_text[field], field, 1);
        connect(m_ticked[field], &QCheckBox::toggled, m_text[field], &QLineEdit::setEnabled);
        connect(m_ticked[field], &QCheckBox::toggled, this, &TakeScheduleDialog::Check);
        connect(m_text[field], &QLineEdit::textChanged, this, &TakeScheduleDialog::Check);
    }
    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(UiText(25), QDialogButtonBox::AcceptRole);
    buttons->addButton(UiText(15), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, kFieldCount, 0, 1, 2);
}

engine::TakeSchedule TakeScheduleDialog::Schedule(engine::WallClock::time_point now) const {
    engine::TakeSchedule schedule;
    if (m_ticked[kStartAt]->isChecked()) {
        schedule.startAt = engine::NextClockTime(Utf8(m_text[kStartAt]), now);
    }
    if (m_ticked[kStartOnSound]->isChecked()) {
        schedule.startOnSoundDb = engine::ParseSoundDb(Utf8(m_text[kStartOnSound]));
    }
    if (m_ticked[kStopAfter]->isChecked()) {
        schedule.forSeconds = engine::ParseDurationSeconds(Utf8(m_text[kStopAfter])).value_or(0);
    }
    return schedule;
}

void TakeScheduleDialog::Check() {
    const engine::TakeSchedule schedule = Schedule(engine::WallClock::now());
    const bool readable = (!m_ticked[kStartAt]->isChecked() || schedule.startAt) &&
                          (!m_ticked[kStartOnSound]->isChecked() || schedule.startOnSoundDb) &&
                          (!m_ticked[kStopAfter]->isChecked() || schedule.forSeconds > 0);
    m_ok->setEnabled(readable);
}

} // namespace window
