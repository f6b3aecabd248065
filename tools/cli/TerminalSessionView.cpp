#include "tools/cli/TerminalSessionView.h"

#include <utility>

namespace cli {

TerminalSessionView::TerminalSessionView(TakeChoices choices, std::FILE* out)
    : m_choices(std::move(choices)), m_out(out) {}

void TerminalSessionView::ShowTime(const std::string& text) {
    const std::lock_guard lock(m_mutex);
    m_time = text;
    Redraw();
}

void TerminalSessionView::ShowLength(const std::string& text) {
    const std::lock_guard lock(m_mutex);
    m_length = text;
    Redraw();
}

void TerminalSessionView::ShowLevel(const LevelReading& level, std::uint64_t clips) {
    const std::lock_guard lock(m_mutex);
    m_level = "peak " + FormatDbfs(level.held[0]) + " " + FormatDbfs(level.held[1]) +
              " dBFS  clips " + std::to_string(clips);
    Redraw();
}

void TerminalSessionView::SetCapacityRange(int /*low*/, int /*high*/) {}

void TerminalSessionView::SetCapacityPos(int pos) {
    const std::lock_guard lock(m_mutex);
    m_capacityPercent = pos;
    Redraw();
}

void TerminalSessionView::SetControlsRecording(bool recording) {
    const std::lock_guard lock(m_mutex);
    std::fprintf(m_out, recording ? "recording... (Ctrl-C stops)\n" : "\nstopped\n");
    std::fflush(m_out);
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

void TerminalSessionView::Redraw() {
    const std::string line = "\r" + m_time + "  " + m_length + "  capacity used " +
                             std::to_string(m_capacityPercent < 0 ? 0 : m_capacityPercent) + "%  " +
                             m_level + "   ";
    if (line != m_lastLine) {
        m_lastLine = line;
        std::fputs(line.c_str(), m_out);
        std::fflush(m_out);
    }
}

} // namespace cli
