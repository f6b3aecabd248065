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

void TerminalSessionView::ShowLevel(const LevelReading& level, std::uint64_t clips) {
    const std::lock_guard lock(m_mutex);
    m_peaks[0] = FormatDbfs(level.held[0]);
    m_peaks[1] = FormatDbfs(level.held[1]);
    m_clips = clips;
    m_level = "peak " + m_peaks[0] + " " + m_peaks[1] + " dBFS  clips " + std::to_string(clips);
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

void TerminalSessionView::Finish(int exitStatus, std::uint64_t clippedSamples) {
    const std::lock_guard lock(m_mutex);
    m_clips = clippedSamples;
    m_status.Result(Report("\nclipped samples: " + std::to_string(clippedSamples))
                        .Add("exit_status", exitStatus));
}

StatusReport TerminalSessionView::Report(const std::string& lastLine) const {
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
    text += (m_level.empty() ? "" : "  " + m_level) + lastLine;
    StatusReport report(std::move(text));
    report.Add("time", ValueOf(m_lastTime))
        .Add("length", ValueOf(m_length))
        .Add("disc_use", percent);
    if (!m_level.empty()) {
        report.Add("peak_left_dbfs", m_peaks[0]).Add("peak_right_dbfs", m_peaks[1]);
    }
    return report.Add("clipped_samples", static_cast<long long>(m_clips)).State(state);
}

} // namespace cli
