#include "tests/engine/session/RecordingView.h"

std::string RecordingView::OutputPathText() {
    const std::lock_guard lock(m_mutex);
    return m_path;
}

void RecordingView::ShowTime(const std::string& text) {
    const std::lock_guard lock(m_mutex);
    m_time = text;
}

void RecordingView::ShowLength(const std::string& text) {
    const std::lock_guard lock(m_mutex);
    m_length = text;
}

void RecordingView::SetPath(const std::string& path) {
    const std::lock_guard lock(m_mutex);
    m_path = path;
}

std::string RecordingView::Time() {
    const std::lock_guard lock(m_mutex);
    return m_time;
}

std::string RecordingView::Length() {
    const std::lock_guard lock(m_mutex);
    return m_length;
}
