#include "tools/cli/TerminalSessionView.h"

#include "engine/session/SessionMessages.h"
#include "lang/LangText.h"

#include <utility>

namespace cli {

namespace {

// "00:01:02" of "Time: 00:01:02": the value of a read-out without its label.
std::string_view ValueOf(std::string_view readout) {
    const std::size_t colon = readout.find(": ");
    return colon == std::string_view::npos ? readout : readout.substr(colon + 2);
}

} // namespace

TerminalSessionView::TerminalSessionView(TakeChoices choices, LiveStatus& status)
    : m_choices(std::move(choices)), m_status(status),
      m_noSoundText(lang::GetLangString("Message", engine::kMsgNoSound)) {}

void TerminalSessionView::ShowTime(const std::string& text) {
    const std::lock_guard lock(m_mutex);
    m_time = text;
    if (text != m_noSoundText) {
        m_lastTime = text;
    }
}

void TerminalSessionView::ShowLength(const std::string& text) {
    const std::lock_guard lock(m_mutex);
    m_length = text;
}

void TerminalSessionView::SetCapacityRange(int /*low*/, int /*high*/) {}

void TerminalSessionView::SetCapacityPos(int pos) {
    const std::lock_guard lock(m_mutex);
    m_capacityPercent = pos;
}

void TerminalSessionView::SetControlsRecording(bool recording) {
    const std::lock_guard lock(m_mutex);
    m_recording = recording;
    if (recording) {
        m_status.Note("recording... (Ctrl-C stops)");
    }
}

void TerminalSessionView::StartRecordTimer(unsigned periodMs) {
    m_timerMs.store(periodMs, std::memory_order_relaxed);
}

void TerminalSessionView::KillRecordTimer() {
    m_timerMs.store(0, std::memory_order_relaxed);
}

unsigned TerminalSessionView::RecordTimerMs() const {
    return m_timerMs.load(std::memory_order_relaxed);
}

void TerminalSessionView::Publish() {
    const std::lock_guard lock(m_mutex);
    if (m_recording && !m_time.empty()) {
        m_status.Show(Report());
    }
}

void TerminalSessionView::Finish(int exitStatus) {
    const std::lock_guard lock(m_mutex);
    m_status.Result(Report().Add("exit_status", exitStatus));
}

StatusReport TerminalSessionView::Report() const {
    const int percent = m_capacityPercent < 0 ? 0 : m_capacityPercent;
    const char* state = !m_recording              ? "stopped"
                        : m_time == m_noSoundText ? "no sound"
                                                  : "recording";
    // A take shorter than the timer's period ends before its first read-out.
    std::string text;
    for (const std::string& part : {m_time, m_length}) {
        text += part.empty() ? "" : part + "  ";
    }
    text += "capacity used " + std::to_string(percent) + "%" + (m_recording ? "" : "  stopped");
    return StatusReport(std::move(text))
        .Add("time", ValueOf(m_lastTime))
        .Add("length", ValueOf(m_length))
        .Add("disc_use", percent)
        .State(state);
}

} // namespace cli
