#include "tests/hotkey/HotkeyTestKit.h"

#include "MainApp/hotkey/HotkeySettings.h"

#include <chrono>

namespace hotkeytest {

namespace {

constexpr auto kGiveUpAfter = std::chrono::seconds(20);

} // namespace

StoredSettings ReadStoredSettings() {
    StoredSettings settings;
    hotkey::ReadHotkeySettings(settings.type, settings.value, settings.used);
    return settings;
}

void FakeWindow::StartRecording() {
    ++m_starts;
}

void FakeWindow::StopRecording() {
    ++m_stops;
}

hotkey::PostToUi UiQueue::Poster() {
    return [this](std::function<void()> work) {
        const std::lock_guard lock(m_mutex);
        m_pending.push_back(std::move(work));
        ++m_posted;
        m_arrived.notify_all();
    };
}

int UiQueue::RunWhenPosted(int count) {
    std::deque<std::function<void()>> ready;
    int posted = 0;
    {
        std::unique_lock lock(m_mutex);
        m_arrived.wait_for(lock, kGiveUpAfter, [&] { return m_posted >= count; });
        ready.swap(m_pending);
        posted = m_posted;
    }
    for (auto& work : ready) {
        work();
    }
    return posted;
}

int UiQueue::Posted() {
    const std::lock_guard lock(m_mutex);
    return m_posted;
}

} // namespace hotkeytest
