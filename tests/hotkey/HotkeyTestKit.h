#pragma once
// A main window stand-in for hotkey tests: counts the takes started and
// stopped, and a queue that plays the user-interface thread's part (the
// callback posts to it from the library's thread; the test runs what arrived).

#include "MainApp/hotkey/HotkeyState.h"
#include "platform/registry/Registry.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace hotkeytest {

// The three registry values as ReadHotkeySettings gives them; the initial
// values show outputs it left untouched.
struct StoredSettings {
    std::int32_t type = -1;
    platform::DWORD value = 99;
    platform::DWORD used = 99;
    bool operator==(const StoredSettings&) const = default;
};
StoredSettings ReadStoredSettings();

class FakeWindow : public hotkey::IHotkeyWindow {
public:
    void StartRecording() override;
    void StopRecording() override;

    int m_starts = 0;
    int m_stops = 0;
};

class UiQueue {
public:
    // The function ArmHotkeys is given.
    hotkey::PostToUi Poster();
    // Waits until `count` toggles have been posted in all (a broken watch
    // fails after a generous while instead of hanging), then runs them;
    // returns how many were posted in all.
    int RunWhenPosted(int count);
    int Posted();

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<std::function<void()>> m_pending;
    int m_posted = 0;
};

} // namespace hotkeytest
